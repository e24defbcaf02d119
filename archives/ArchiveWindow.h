#pragma once
#include "ArchiveContent.h"
#include "ArchiveDefinition.h"
#include "shell/clsResize.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The reading window of one archive; the seven archives are this one design with the values of their
// definitions. The user picks a topic in List1 and steps through its maxims with HScroll1; one step
// past the last maxim shows the end-of-topic line.
class ArchiveWindow : public Form {
    Q_OBJECT
public:
    explicit ArchiveWindow(const ArchiveDefinition& def);
    ~ArchiveWindow() override;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

    void List1_Click();
    void HScroll1_Change();
    void aiuto_Click();
    void guidainlinea_Click();
    void stampiamo_Click();
    void stampa_Click();
    void stampatutte_Click();
    void esco_Click();
    void copia_Click();
    void trova_Click();
    // The maxims related to the one on screen, shown by the search window; says so when none is shown.
    void affini_Click();
    // How the related maxims of a place (archive name, topic, maxim) are shown: the search window
    // lives a floor above and fills this in.
    using RelatedHandler = std::function<void(const QString& archive, int topic, int maxim)>;
    static void setRelatedHandler(RelatedHandler handler);
    void raccolte_Click();
    void aggiungi_Click();
    // Beyond the archives' floor: adding the maxim on screen to a raccolta is done by a hook the
    // program fills at start; it receives the archive's form name, topic, place and text, and returns
    // the confirmation to show (empty when nothing was added).
    using AddHook = std::function<QString(const QString& archive, int topic, int maxim, const QString& text)>;
    static void setAddHook(AddHook hook);
    // The last confirmation shown after an addition.
    QString LastAddMessage() const { return lastAddMessage_; }
    // The maxim on screen as the clipboard receives it (plain text), empty when no maxim is on screen:
    // quoted the way a brief quotes it when the program has given the quoting hook, otherwise its
    // print heading line, then its text.
    QString MaximCopyText() const;
    // The quote of a maxim's text as plain text and HTML, from a floor above the archives.
    struct Quote {
        QString plain, html;
    };
    using QuoteHook = std::function<Quote(const QString& maxim)>;
    static void setQuoteHook(QuoteHook hook);

    // Menu bar and toolbar.
    void fin_Click(int index);
    void finestra_Click();
    void Toolbar1_ButtonClick(int position);
    void guida_Click();
    void suggerimenti_Click();
    void supporto_Click();
    void informazioni_Click();
    void usci_Click();
    void colorare_Click();
    void eliminare_click();
    void DeleteFile();
    void showOwnHelpPage();
    QAction* toolbarButton(int position) const;   // 1 to 20, separators included
    static QColor RestfulGrey() { return QColor(192, 192, 192); }
    // The window with the given number among the eight main windows: 1 the menu, 2 to 8 the archives.
    static QString MainWindowName(int windowNumber);

    // Prints the maxim on screen, or with PrintAll every maxim from the one on screen to the last.
    void PrintMaxims();
    static QString PrintHeading() { return QStringLiteral("NORVELIA - massime sull'edilizia"); }
    static QString NothingToPrintText();

    const ArchiveDefinition& definition() const { return def_; }
    const ArchiveContent& content() const { return content_; }
    int archiveTotal() const { return total_; }

    std::int16_t CurrentTopic() const { return currentTopic_; }
    std::int16_t CurrentMaxim() const { return currentMaxim_; }
    std::int16_t TopicMaximCount() const { return topicMaximCount_; }
    int PrintAll() const { return printAll_; }
    int EndOfTopicPosition() const { return topicMaximCount_ + 1; }

    QListWidget* List1() const { return list_; }
    QScrollBar* HScroll1() const { return scroll_; }
    QPlainTextEdit* sent() const { return sent_; }
    VLabel* Label1() const { return label1_; }
    VLabel* Label2() const { return label2_; }
    VLabel* conta() const { return conta_; }
    VLabel* passo() const { return passo_; }
    QToolBar* Toolbar1() const { return toolbar_; }
    clsResize* Resizer() const { return resizer_.get(); }

    // The topic list entry: two blanks below 10, the number text, ") ", the title.
    static QString ListLabel(int topic, const QString& title);
    static QString AiutoText();
    // What the maxim's scroll bar is called to assistive technology: the maxim shown and the topic's count.
    static QString ScrollBarName(int topic, int maxim, int count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void setPrintAll(int v) { printAll_ = v; }

private:
    void buildMenus();
    void buildToolbar();
    void loadContent();
    void onRowChanged(int row);
    void onItemClicked();
    void showMaximText(const QString& text);
    void nameScrollBar();

    const ArchiveDefinition& def_;
    ArchiveContent content_;
    std::unique_ptr<clsResize> resizer_;
    std::int16_t currentTopic_ = 0;
    std::int16_t currentMaxim_ = 0;
    QString lastAddMessage_;
    std::int16_t topicMaximCount_ = 0;
    int printAll_ = 0;
    int total_ = 0;

    QToolBar* toolbar_;
    VLabel* label1_;
    VLabel* label2_;
    QListWidget* list_ = nullptr;
    QScrollBar* scroll_;
    VLabel* conta_;
    QPlainTextEdit* sent_;
    VLabel* passo_;
    std::vector<QAction*> toolbarButtons_;
    std::optional<QColor> dialogColour_;   // the last colour picked in this window's dialog
    bool listPressed_ = false;
    bool rowChangedByPress_ = false;
    bool holdText_ = false;   // a print is stepping: the text box shows the last text when it ends
    QString heldText_;
};
