#pragma once
#include <QByteArray>
#include <QLocale>
#include <QString>
#include <variant>
#include <vector>

// One field of the price list as it was read: a text, or a number when the field was written unquoted
// as a number. Cells beyond the rows read stay empty.
class PriceCell {
public:
    PriceCell() = default;
    static PriceCell fromText(const QString& text);
    static PriceCell fromNumber(double value);

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isNumber() const { return std::holds_alternative<double>(value_); }
    double number() const { return isNumber() ? std::get<double>(value_) : 0.0; }

    // As the window shows it: a text as it is; a number as stored, without fixed decimals or grouping,
    // with the decimal mark of the locale (1234.5 is "1234,5" in Italian).
    QString screenText(const QLocale& locale = QLocale()) const;
    // As the printed table shows a price: two decimals and thousands grouping in the style of the
    // locale (1234.5 is "1.234,50" in Italian); a text as it is.
    QString priceText(const QLocale& locale = QLocale()) const;

    bool operator==(const PriceCell& other) const = default;

private:
    std::variant<std::monostate, QString, double> value_;
};

struct PriceRow {
    PriceCell name;
    PriceCell topic;
    PriceCell listPrice;
    PriceCell offerPrice;
};

// What a reading gives: the heading, the row count the file announces, the complete rows read (never
// more than the window's tables hold) and, when the file is not usable as it stands, a message for
// the user saying what is wrong and what is shown instead.
struct PriceList {
    QString head;
    long long announced = 0;
    std::vector<PriceRow> rows;
    QString error;
};

// The side file's sequential field format: fields separated by commas or line ends; a text in double
// quotes, which may enclose commas; a number unquoted, with a point as decimal mark. The field order
// is the heading, the row count, then four fields per row: name, topic, list price, offer price.
namespace PriceListReader {
inline constexpr int MaxRows = 100;    // the size of the window's tables
inline constexpr int PageRows = 10;    // the rows the window shows at once

// Reads the bytes of a file in the Windows-1252 code page (UTF-8 when they start with its byte-order
// mark). Never fails: bad input gives the rows read up to the fault and a message.
PriceList read(const QByteArray& bytes);
// Reads a file; a missing or unreadable one gives no rows and a message.
PriceList readFile(const QString& path);
} // namespace PriceListReader
