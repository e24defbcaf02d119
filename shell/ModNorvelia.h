#pragma once
#include <QPointer>
#include <QString>
#include <array>
#include <optional>

class QLabel;
class QObject;

// The program-wide shared state and the routines several windows call.
namespace ModNorvelia {

struct SharedState {
    QString ProductName;
    QString ProductSubtitle;
    QString ProductVersion;
    QString ReleaseDate;
    QString EndYearCode;
    QString CheckTitle;
    QString HelpTitle;
    QString DeleteDialogTitle;
    QString PriceListHead;
    QPointer<QLabel> HelpPrintTitle;
    QPointer<QLabel> HelpPrintText;
    QPointer<QObject> WordApp;
    QPointer<QObject> WordDoc;
    // edilizia, urbanistica, espropriazioni, professionisti, condominio, enti, imprese; unset until loaded
    std::array<std::optional<int>, 7> ArchiveTotals;
};

SharedState& state();
// Back to the state of a program that has just started (for tests).
void resetState();

void InitSharedState();
int OpenWebPage(const QString& target);
void ShowArchiveMenu();
void ConfirmExit();

// An archive's published count, 0 while its window has never loaded.
int ArchiveTotal(int index);

// The start sequence: shared state, the price list loaded hidden, the splash with its tune.
void Start();
// The one place where the start sequence loads the price-list window.
void LoadPriceListWindow();

// The windows ConfirmExit unloads, in order.
const std::array<const char*, 26>& ExitUnloadOrder();
// Windows the program has beyond the archive, help and catalogue windows (the search, its help page
// and the raccolte), unloaded by ConfirmExit after all the others.
const std::array<const char*, 3>& AddedWindows();

} // namespace ModNorvelia
