#pragma once
#include "RaccoltaDocument.h"
#include "platform/Form.h"
#include <QTreeWidget>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTextBrowser;

// The maxims of a raccolta, in the user's order: a drop moves one maxim, and the window makes the
// move in the store rather than letting the list rearrange itself.
class RaccoltaList : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(int from, int to)> moveRequested;
    // The row a row dragged from `from` ends at when dropped on row `at` (-1: below the last of
    // `rows`), above or below its middle.
    static int dropTarget(int from, int at, bool below, int rows);

protected:
    void dropEvent(QDropEvent* event) override;
};

// The raccolte window: the raccolte by name on the left, the maxims of the chosen one on the right
// with their citations and the user's notes, and what can be done with them. Every change goes to the
// store at once; the window then shows what the store holds.
class raccolte : public Form {
    Q_OBJECT
public:
    raccolte();
    ~raccolte() override;

    void Form_Load() override;
    void Form_Unload() override;

    void nuova_Click();
    void rinomina_Click();
    void elimina_Click();
    void su_Click();
    void giu_Click();
    void apri_Click();
    void togli_Click();
    void annulla_Click();
    void copia_Click();
    void citazioni_Click();
    void esporta_Click();
    void chiudi_Click();

    // Shows the raccolta of that name (when there is one) and returns whether it did.
    bool ShowRaccolta(const QString& name);
    // Moves the maxim at row `from` to row `to` of the chosen raccolta.
    void MoveMaxim(int from, int to);
    // Reads the raccolte and the chosen one's maxims again from the store.
    void Refresh();

    long long currentRaccolta() const { return current_; }
    const std::vector<RaccoltaEntry>& entries() const { return entries_; }
    QListWidget* elenco() const { return elenco_; }
    RaccoltaList* massime() const { return massime_; }
    QLabel* stato() const { return stato_; }
    QTextBrowser* testo() const { return testo_; }
    int undoCount() const { return int(removed_.size()); }

    enum Column { ColNumber, ColHeading, ColCitation, ColNote };

private:
    void showMaxims(int selectRow = 0);
    void showText();
    void noteEdited(QTreeWidgetItem* item, int column);
    void raccoltaChosen();
    void updateButtons();
    std::vector<RaccoltaEntry> selectedEntries() const;
    ShortCitation::Form form() const;
    void say(const QString& text);

    long long current_ = 0;
    std::vector<RaccoltaEntry> entries_;
    std::vector<StoredMaxim> removed_;   // for "Annulla", while the window is open
    bool filling_ = false;

    QSplitter* splitter_;
    QListWidget* elenco_;
    QPushButton* nuova_;
    QPushButton* rinomina_;
    QPushButton* elimina_;
    QLabel* intestazione_;
    RaccoltaList* massime_;
    QTextBrowser* testo_;
    QPushButton* su_;
    QPushButton* giu_;
    QPushButton* apri_;
    QPushButton* togli_;
    QPushButton* annulla_;
    QPushButton* copia_;
    QPushButton* citazioni_;
    QPushButton* esporta_;
    QCheckBox* formabreve_;
    QPushButton* chiudi_;
    QLabel* stato_;
};
