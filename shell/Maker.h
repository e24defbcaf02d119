#pragma once
#include <QString>

// The maker's addresses, in one place. They lie under the reserved .example domain so that no real
// site or mailbox is ever reached.
namespace Maker {
inline QString webHost() { return QStringLiteral("www.velmoria.example"); }
inline QString webAddress() { return QStringLiteral("https://") + webHost(); }
inline QString forumPage() { return webAddress() + QStringLiteral("/forum.htm"); }
inline QString cataloguePage() { return webAddress() + QStringLiteral("/catalogo.htm"); }
inline QString purchasePage() { return webHost() + QStringLiteral("/compra.htm"); }
inline QString email() { return QStringLiteral("info@velmoria.example"); }
inline QString postalAddress() { return QStringLiteral("Via dei Mille 18, 40121 Bologna (BO)"); }
inline QString phoneFax() { return QStringLiteral("tel. 051 000 0000 - fax 051 000 0001 - "); }
inline QString softwareResponsible() { return QStringLiteral("ing. Paolo Ferretti"); }
inline QString composerCredit() { return QStringLiteral("Musica «Internet» composta ed eseguita da Ruggero Valdani"); }
inline QString copyNotice()
{
    return QStringLiteral("Attenzione: il programma Norvelia e i suoi file audio sono protetti dalle leggi sul diritto d'autore. Ogni copia, riproduzione o distribuzione non autorizzata, totale o parziale, è vietata e sarà perseguita.");
}
} // namespace Maker
