#pragma once
#include "platform/Controls.h"
#include "platform/Form.h"
#include "shell/clsResize.h"
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

// The definition of one help page: its window name, title, the text resource, and the few ways the
// pages differ from one another.
struct HelpPageDef {
    const char* name;
    const char* title;
    const char* textResource;   // the help text, or nullptr with inlineText
    const char* inlineText;
};

namespace HelpPages {
// The twelve pages in the order of the help index.
const std::array<HelpPageDef, 12>& all();
const HelpPageDef* find(const QString& name);
// The page on searching: opened only from the search window, so the help index and the whole-guide
// print stay as they are.
const HelpPageDef& searchPage();
QString text(const HelpPageDef& def);
// A page's text as it is typed into a document: each of its lines a paragraph of its own, ended by a
// paragraph mark (character 13), so that a justified paragraph is not stretched line by line.
QString typedText(const QString& text);
} // namespace HelpPages

// A help page: a title, a text, and buttons to the help index, to print the page and to close it.
// Closing unloads the page; the next opening creates it anew.
class HelpPageWindow : public Form {
    Q_OBJECT
public:
    explicit HelpPageWindow(const HelpPageDef& def);
    ~HelpPageWindow() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;
    void cmdchiudi_Click();
    void cmdSommario_Click();
    void cmdStampa_Click();

    VLabel* Label1() const { return label1_; }
    VLabel* Label2() const { return label2_; }
    bool isManual() const { return manual_; }

private:
    const HelpPageDef& def_;
    bool manual_;
    std::unique_ptr<clsResize> resizer_;
    VLabel* label1_;
    VLabel* label2_;
};

// The licence terms: a scrolling text box. "&Chiudi" only hides it.
class licenza : public Form {
    Q_OBJECT
public:
    licenza();
    ~licenza() override;
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;
    void cmdchiudi_Click();
    void cmdSommario_Click();
    void cmdStampa_Click();
    QPlainTextEdit* Text1() const { return text1_; }
    VLabel* Label2() const { return label2_; }
    static QString LicenceText();

private:
    std::unique_ptr<clsResize> resizer_;
    VLabel* label2_;
    QPlainTextEdit* text1_;
};

namespace ModNorvelia {
// Builds a document from the help page whose title and text labels the page has just put into
// HelpPrintTitle and HelpPrintText.
void PrintHelpPage();
} // namespace ModNorvelia
