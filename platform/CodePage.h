#pragma once
#include <QByteArrayView>
#include <QString>

// The Windows code page of the program's side files (price list, tips). Decoded by table rather than
// through the system's converters: opening one of those took longer than reading the whole file.
// The five bytes the code page leaves undefined become the control characters of the same number.
QString fromWindows1252(QByteArrayView bytes);
