#pragma once
#include "SearchIndex.h"
#include "shell/clsResize.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
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
    QCheckBox* terminiEpoca() const { return terminiEpoca_; }
    // Shown over the empty list when nothing is found: what to try, each word a link that searches it.
    QLabel* suggerimenti() const { return suggerimenti_; }
    clsResize* Resizer() const { return resizer_.get(); }

    static constexpr int NoYear = 1949;   // the years' boxes at this value set no limit

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runSearch();
    void showCounts();
    void showSuggestions();
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
    QCheckBox* terminiEpoca_;
    QLabel* suggerimenti_;
    bool filling_ = false;
};
