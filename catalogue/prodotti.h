#pragma once
#include "PriceListReader.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "shell/clsResize.h"
#include <QPushButton>
#include <QScrollBar>
#include <array>
#include <memory>

// The maker's price list of its other programs, read from "listino.txt" when the window loads and shown
// ten rows at a time, stepped with VScroll1. It prints the whole list as a table and opens the maker's
// catalogue page and a new e-mail to the maker.
class prodotti : public Form {
    Q_OBJECT
public:
    prodotti();
    ~prodotti() override;

    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload() override;

    void VScroll1_Change();
    void cmdStampa_Click();
    void cmdchiudi_Click();
    void cmdSommario_Click();
    void Command1_Click();
    void Command2_Click();

    // The rows read at load; numbers from 1, cells beyond RowCount are empty.
    int RowCount() const { return rowCount_; }
    const PriceRow& Row(int k) const;
    // What the last load found wrong with the file; empty when it was read in full.
    QString LoadMessage() const { return loadMessage_; }

    QScrollBar* VScroll1() const { return scroll_; }
    VLabel* num(int i) const { return num_.at(std::size_t(i - 1)); }
    VLabel* nom(int i) const { return nom_.at(std::size_t(i - 1)); }
    VLabel* argom(int i) const { return argom_.at(std::size_t(i - 1)); }
    VLabel* eur(int i) const { return eur_.at(std::size_t(i - 1)); }
    VLabel* off(int i) const { return off_.at(std::size_t(i - 1)); }
    VLabel* Label10() const { return label10_; }
    clsResize* Resizer() const { return resizer_.get(); }

    static QString SalesNotes();
    static QString MessageTitle();

    void setVisible(bool visible) override;

private:
    int Link(const QString& url);

    std::unique_ptr<clsResize> resizer_;
    int rowCount_ = 0;
    std::array<PriceRow, PriceListReader::MaxRows + 1> rows_{};   // index 0 is never used
    QString loadMessage_;
    bool messagePending_ = false;

    QScrollBar* scroll_;
    VLabel* label10_;
    std::array<VLabel*, PriceListReader::PageRows> num_{};
    std::array<VLabel*, PriceListReader::PageRows> nom_{};
    std::array<VLabel*, PriceListReader::PageRows> argom_{};
    std::array<VLabel*, PriceListReader::PageRows> eur_{};
    std::array<VLabel*, PriceListReader::PageRows> off_{};
};
