#pragma once
#include "SearchIndex.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <functional>
#include <memory>

class ResultModel;
class RelatedMaxims;
class QCompleter;
class QSettings;
class QStringListModel;

// The search window: one box for words, phrases and citations, the hits of every keystroke in a list,
// the selected hit read whole under the list, and beside them the filters with the number of hits each
// would keep. Opening a hit brings its archive window forward on that topic and maxim, chosen the way a
// user would choose them there.
//
// Unlike the design's windows it lays itself out: the list and the reading pane take the room the
// window has, the controls keep their natural height, and the size, the place, the division between
// list and pane and the size of their text are the user's, kept from one run to the next.
class ricerca : public Form {
    Q_OBJECT
public:
    ricerca();
    ~ricerca() override;

    void Form_Load() override;

    void testo_Change();
    void testo_Enter();
    void filtro_Change();
    void azzera_Click();
    void apri_Click();
    void copia_Click();
    void stampa_Click();
    void chiudi_Click();
    void aiuto_Click();
    void aggiungi_Click();
    // Adds the maxim chosen in the related list to a raccolta.
    void aggiungiAffine_Click();

    // Beyond the search's floor: adding maxims to a raccolta is done by a hook the program fills at
    // start; it receives the maxims and returns the confirmation to show (empty when nothing was added).
    using AddHook = std::function<QString(const std::vector<MaximEntry>& maxims)>;
    static void setAddHook(AddHook hook);
    // The queries the user searched before, kept where the raccolte are: a hook to keep one, and one
    // that gives them back newest first.
    struct RecentHooks {
        std::function<void(const QString& query)> remember;
        std::function<QStringList()> recent;
    };
    static void setRecentHooks(RecentHooks hooks);
    static constexpr int RecentShown = 20;

    // Shows the hit's maxim in its archive window.
    void OpenHit(int row);
    // Shows entry id of the index in its archive window.
    void OpenEntry(int id);
    // The entries of the maxims the related list shows, best first.
    QList<int> RelatedIds() const;
    // The selected hits as the clipboard receives them.
    QString SelectedText() const;
    void PrintHits();
    // The line of a print that tells what was searched.
    QString QueryLine() const;
    // Shows a list of maxims chosen elsewhere (the related maxims of one) as the hits, with the caption
    // in the search box and the note under the list; typing in the box searches again.
    void ShowHits(std::vector<SearchIndex::Hit> hits, const QString& caption, const QString& note);

    // The size of the list's and the reading pane's text: 0 is the normal size, each step up or down
    // one size larger or smaller, within MinZoom and MaxZoom.
    int zoom() const { return zoom_; }
    void setZoom(int step);
    static constexpr int MinZoom = -2;
    static constexpr int MaxZoom = 6;

    const SearchIndex::Result& result() const { return result_; }
    QLineEdit* testo() const { return testo_; }
    QListView* risultati() const { return list_; }
    QTextBrowser* lettura() const { return lettura_; }
    QListWidget* affini() const { return affini_; }
    QPushButton* aggiungi() const { return aggiungi_; }
    QCompleter* recenti() const { return recenti_; }
    // Drops the recent queries down under the search box.
    void ShowRecent();
    QSplitter* divisore() const { return divisore_; }
    VLabel* esito() const { return esito_; }
    VLabel* avviso() const { return avviso_; }
    QComboBox* archivio() const { return archivio_; }
    QComboBox* autorita() const { return autorita_; }
    QComboBox* norme() const { return norme_; }
    QComboBox* ordine() const { return ordine_; }
    QSpinBox* dal() const { return dal_; }
    QSpinBox* al() const { return al_; }
    QCheckBox* terminiEpoca() const { return terminiEpoca_; }
    // Shown over the empty list when nothing is found: what to try, each word a link that searches it.
    QLabel* suggerimenti() const { return suggerimenti_; }

    static constexpr int NoYear = 1949;   // the years' boxes at this value set no limit
    // The share of the screen's free area the window takes the first time, in each direction.
    static constexpr double FirstShare = 0.75;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildQueryRow();
    void buildList();
    void buildReadingPane();
    void buildFilters();
    void buildButtons();
    void buildKeys();
    void layOut();
    void placeOnScreen(QSettings& settings);
    void remember() const;

    void runSearch();
    void showOutcome();
    void showCounts();
    void showSuggestions();
    void showReading();
    void showMaxim(int id);
    void showRelated(int id);
    void rememberQuery();
    void recallQuery();
    void refreshRecent();
    SearchIndex::Filters filters() const;
    QList<int> selectedRows() const;
    void moveIntoList();
    void applyZoom();

    SearchIndex* index_ = nullptr;
    SearchIndex::Result result_;
    ResultModel* model_;
    VLabel* etichetta_;
    QLineEdit* testo_;
    VLabel* esito_;
    VLabel* avviso_;
    QSplitter* divisore_;
    QListView* list_;
    // The related maxims' pane: their title and list.
    QWidget* pannello_;
    bool divideFirst_ = false;
    QVBoxLayout* pannelloLayout_;
    QTextBrowser* lettura_;
    VLabel* affiniTitolo_;
    QListWidget* affini_;
    std::unique_ptr<RelatedMaxims> related_;
    bool fillingRelated_ = false;
    QCompleter* recenti_;
    QStringListModel* recentModel_;
    int recalled_ = -1;   // the place in the recent queries of the one Up brought back
    // The filters' column, and the buttons under it.
    QVBoxLayout* filtri_;
    QComboBox* archivio_;
    QComboBox* autorita_;
    QComboBox* norme_;
    QComboBox* ordine_;
    QSpinBox* dal_;
    QSpinBox* al_;
    VLabel* anni_;
    QCheckBox* terminiEpoca_;
    QLabel* suggerimenti_;
    QPushButton* azzera_;
    QPushButton* apri_;
    QPushButton* copia_;
    QPushButton* stampa_;
    QPushButton* aggiungi_;
    QPushButton* chiudi_;
    bool filling_ = false;
    int zoom_ = 0;
    bool given_ = false;   // the list was given by ShowHits: the filters do not apply to it
};
