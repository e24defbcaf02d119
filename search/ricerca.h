#pragma once
#include "SearchIndex.h"
#include "shell/clsResize.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSpinBox>
#include <memory>

class ResultModel;

// The search window: one box for words, phrases and citations, the hits of every keystroke in a list,
// and beside it the filters with the number of hits each would keep. Opening a hit brings its archive
// window forward on that topic and maxim, chosen the way a user would choose them there.
class ricerca : public Form {
    Q_OBJECT
public:
    ricerca();
    ~ricerca() override;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

    void testo_Change();
    void filtro_Change();
    void azzera_Click();
    void apri_Click();
    void copia_Click();
    void stampa_Click();
    void chiudi_Click();

    // Shows the hit's maxim in its archive window.
    void OpenHit(int row);
    // The selected hits as the clipboard receives them.
    QString SelectedText() const;
    void PrintHits();
    // The line of a print that tells what was searched.
    QString QueryLine() const;
    // Shows a list of maxims chosen elsewhere (the related maxims of one) as the hits, with the caption
    // in the search box and the note under the list; typing in the box searches again.
    void ShowHits(std::vector<SearchIndex::Hit> hits, const QString& caption, const QString& note);

    const SearchIndex::Result& result() const { return result_; }
    QLineEdit* testo() const { return testo_; }
    QListView* risultati() const { return list_; }
    VLabel* esito() const { return esito_; }
    VLabel* avviso() const { return avviso_; }
    QComboBox* archivio() const { return archivio_; }
    QComboBox* autorita() const { return autorita_; }
    QComboBox* norme() const { return norme_; }
    QComboBox* ordine() const { return ordine_; }
    QSpinBox* dal() const { return dal_; }
    QSpinBox* al() const { return al_; }
    clsResize* Resizer() const { return resizer_.get(); }

    static constexpr int NoYear = 1949;   // the years' boxes at this value set no limit

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runSearch();
    void showCounts();
    SearchIndex::Filters filters() const;
    QList<int> selectedRows() const;

    std::unique_ptr<clsResize> resizer_;
    SearchIndex* index_ = nullptr;
    SearchIndex::Result result_;
    ResultModel* model_;
    QLineEdit* testo_;
    VLabel* esito_;
    VLabel* avviso_;
    QListView* list_;
    QComboBox* archivio_;
    QComboBox* autorita_;
    QComboBox* norme_;
    QComboBox* ordine_;
    QSpinBox* dal_;
    QSpinBox* al_;
    VLabel* anni_;
    bool filling_ = false;
    bool given_ = false;   // the list was given by ShowHits: the filters do not apply to it
};
