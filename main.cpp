#include "shell/Application.h"

int main(int argc, char** argv) { return Norvelia::run(argc, argv); }
