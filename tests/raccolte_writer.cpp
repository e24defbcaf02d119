// Adds maxims to a raccolta in a loop until it is killed, printing a line for each addition once the
// store has reported it committed. The crash test reads those lines.
#include "raccolte/RaccolteStore.h"
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) return 2;
    RaccolteStore store;
    if (store.open(args.at(1)).state != RaccolteStore::State::Ready) return 1;
    const QString name = QStringLiteral("Giro ") + args.at(2);
    auto id = store.find(name).value;
    const long long raccolta = id ? id->id : store.create(name).value;
    for (long long i = 0;; ++i) {
        const QString n = QString::number(i);
        const MaximRef m{QStringLiteral("edilizia"), 1, int(i % 150) + 1,
                         QStringLiteral("Massima %1. - (Tribunale di Milano, 4 ottobre 1993, n. %1)").arg(n)};
        const auto r = store.add(raccolta, {m}, n);
        if (!r.ok()) return 1;
        // Reordering too, so that kills also land inside the larger transactions.
        if (i % 7 == 3 && !r.value.ids.empty()) store.move(r.value.ids.front(), 0);
        std::printf("%s/%s.\n", name.toUtf8().constData(), n.toUtf8().constData());
        std::fflush(stdout);
    }
}
