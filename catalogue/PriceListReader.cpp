#include "PriceListReader.h"
#include "platform/CodePage.h"
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cmath>
#include <optional>

PriceCell PriceCell::fromText(const QString& text)
{
    PriceCell c;
    c.value_ = text;
    return c;
}

PriceCell PriceCell::fromNumber(double value)
{
    PriceCell c;
    c.value_ = value;
    return c;
}

QString PriceCell::screenText(const QLocale& locale) const
{
    if (const QString* t = std::get_if<QString>(&value_)) return *t;
    if (!isNumber()) return QString();
    // Fifteen significant digits give back every price as it was written, and no binary noise.
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(number(), 'g', 15);
}

QString PriceCell::priceText(const QLocale& locale) const
{
    if (!isNumber()) return screenText(locale);
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(number(), 'f', 2);
}

namespace {

QString decode(const QByteArray& bytes)
{
    static const QByteArray utf8Bom("\xEF\xBB\xBF");
    if (bytes.startsWith(utf8Bom)) {
        // A file saved again by an editor that writes UTF-8 announces itself; read it as it was written.
        QStringDecoder utf8(QStringDecoder::Utf8);
        return utf8.decode(bytes.mid(utf8Bom.size()));
    }
    return fromWindows1252(bytes);
}

bool isLineEnd(QChar c) { return c == QLatin1Char('\n') || c == QLatin1Char('\r'); }
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

struct Field {
    bool quoted = false;
    QString text;
};

// Splits the text into fields. A line end ends a field like a comma does; line ends that do not
// follow a comma end no field, so blank lines and a final line end carry no meaning.
class FieldStream {
public:
    enum class Result { Field, End, Unclosed };

    explicit FieldStream(const QString& text) : s_(text) {}

    Result next(Field& out)
    {
        const qsizetype n = s_.size();
        for (;;) {
            while (pos_ < n && isBlank(s_[pos_])) ++pos_;
            if (!afterComma_ && pos_ < n && isLineEnd(s_[pos_])) {
                ++pos_;
                continue;
            }
            break;
        }
        if (pos_ >= n) {
            if (!afterComma_) return Result::End;
            afterComma_ = false;   // a comma at the very end announces one more, empty field
            out = Field{};
            return Result::Field;
        }
        out = Field{};
        if (s_[pos_] == QLatin1Char('"')) {
            qsizetype close = pos_ + 1;
            while (close < n && s_[close] != QLatin1Char('"') && !isLineEnd(s_[close])) ++close;
            if (close >= n || s_[close] != QLatin1Char('"')) return Result::Unclosed;
            out.quoted = true;
            out.text = s_.mid(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            // Anything between the closing quote and the separator is not part of the value.
            while (pos_ < n && s_[pos_] != QLatin1Char(',') && !isLineEnd(s_[pos_])) ++pos_;
        } else {
            const qsizetype start = pos_;
            while (pos_ < n && s_[pos_] != QLatin1Char(',') && !isLineEnd(s_[pos_])) ++pos_;
            qsizetype end = pos_;
            while (end > start && isBlank(s_[end - 1])) --end;
            out.text = s_.mid(start, end - start);
        }
        afterComma_ = false;
        if (pos_ < n && s_[pos_] == QLatin1Char(',')) {
            afterComma_ = true;
            ++pos_;
        } else if (pos_ < n) {
            // One line end, whichever convention wrote it.
            if (s_[pos_] == QLatin1Char('\r') && pos_ + 1 < n && s_[pos_ + 1] == QLatin1Char('\n')) ++pos_;
            ++pos_;
        }
        return Result::Field;
    }

private:
    const QString& s_;
    qsizetype pos_ = 0;
    bool afterComma_ = false;
};

// An unquoted field that is a number as the format writes it: an optional sign, digits and at most one
// point, nothing else.
std::optional<double> numberOf(const Field& f)
{
    if (f.quoted) return std::nullopt;
    const QString& t = f.text;
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) ++i;
    int digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ++digits;
        else if (c == QLatin1Char('.') && !point) point = true;
        else return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    bool ok = false;
    const double v = t.toLatin1().toDouble(&ok);   // independent of the locale
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

PriceCell cellOf(const Field& f)
{
    if (const auto v = numberOf(f)) return PriceCell::fromNumber(*v);
    return PriceCell::fromText(f.text);
}

QString shownInstead(std::size_t rows)
{
    if (rows == 0) return QStringLiteral(" L'elenco dei prodotti resta vuoto.");
    if (rows == 1) return QStringLiteral(" Si mostra solo il primo prodotto.");
    return QStringLiteral(" Si mostrano i primi %1 prodotti.").arg(rows);
}

QString products(long long n) { return n == 1 ? QStringLiteral("1 prodotto") : QStringLiteral("%1 prodotti").arg(n); }

QString productPlace(int row) { return row == 0 ? QStringLiteral("nell'intestazione") : QStringLiteral("nel prodotto %1").arg(row); }

} // namespace

namespace PriceListReader {

PriceList read(const QByteArray& bytes)
{
    PriceList out;
    const QString text = decode(bytes);
    auto fail = [&out](const QString& what) {
        out.error = what + shownInstead(out.rows.size());
        return out;
    };
    auto unclosed = [&fail](int row) {
        return fail(QStringLiteral("Il listino dei prodotti è danneggiato: un testo %1 non ha le virgolette di chiusura.")
                        .arg(productPlace(row)));
    };

    bool blank = true;
    for (QChar c : text)
        if (!isBlank(c) && !isLineEnd(c)) {
            blank = false;
            break;
        }
    if (blank) return fail(QStringLiteral("Il listino dei prodotti è vuoto."));

    FieldStream fields(text);
    Field f;
    if (fields.next(f) == FieldStream::Result::Unclosed) return unclosed(0);
    out.head = f.text;

    switch (fields.next(f)) {
    case FieldStream::Result::End:
        return fail(QStringLiteral("Il listino dei prodotti è incompleto: manca il numero dei prodotti."));
    case FieldStream::Result::Unclosed:
        return unclosed(0);
    case FieldStream::Result::Field:
        break;
    }
    const std::optional<double> count = numberOf(f);
    // Beyond a billion the count is no count of products; it also keeps the conversion exact.
    if (!count || *count != std::floor(*count) || *count < 0 || *count > 1e9)
        return fail(QStringLiteral("Il listino dei prodotti è danneggiato: il numero dei prodotti non è un numero intero valido."));
    out.announced = static_cast<long long>(*count);

    const int toRead = int(std::min<long long>(out.announced, MaxRows));
    out.rows.reserve(std::size_t(toRead));
    for (int i = 1; i <= toRead; ++i) {
        Field four[4];
        for (Field& field : four) {
            switch (fields.next(field)) {
            case FieldStream::Result::End:
                return fail(out.rows.empty()
                                ? QStringLiteral("Il listino dei prodotti è incompleto: annuncia %1, ma non ne contiene "
                                                 "nessuno per intero.").arg(products(out.announced))
                                : QStringLiteral("Il listino dei prodotti è incompleto: annuncia %1, ma ne contiene per "
                                                 "intero solo %2.").arg(products(out.announced)).arg(out.rows.size()));
            case FieldStream::Result::Unclosed:
                return unclosed(i);
            case FieldStream::Result::Field:
                break;
            }
        }
        if (!numberOf(four[2]))
            return fail(QStringLiteral("Il listino dei prodotti è danneggiato: il costo netto del prodotto %1 non è un numero.").arg(i));
        if (!numberOf(four[3]))
            return fail(QStringLiteral("Il listino dei prodotti è danneggiato: il prezzo via internet del prodotto %1 non è un numero.").arg(i));
        out.rows.push_back(PriceRow{cellOf(four[0]), cellOf(four[1]), cellOf(four[2]), cellOf(four[3])});
    }

    if (out.announced > MaxRows)
        out.error = QStringLiteral("Il listino dei prodotti annuncia %1 prodotti, più dei %2 che la finestra può contenere: "
                                   "si mostrano i primi %2.")
                        .arg(out.announced)
                        .arg(MaxRows);
    else if (out.announced == 0)
        out.error = QStringLiteral("Il listino dei prodotti non contiene alcun prodotto: l'elenco resta vuoto.");
    else if (out.announced < PageRows)
        out.error = QStringLiteral("Il listino dei prodotti contiene %1, meno dei %2 che la finestra mostra insieme: "
                                   "le righe restanti dell'elenco restano vuote.")
                        .arg(out.announced == 1 ? QStringLiteral("un solo prodotto") : QStringLiteral("solo %1 prodotti").arg(out.announced))
                        .arg(PageRows);
    return out;
}

PriceList readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        PriceList out;
        out.error = QStringLiteral("Il listino dei prodotti non è disponibile: il file \"%1\" manca o non si può leggere.")
                        .arg(QFileInfo(path).fileName()) +
                    shownInstead(0);
        return out;
    }
    return read(file.readAll());
}

} // namespace PriceListReader
