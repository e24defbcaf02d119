// Feeds arbitrary bytes to the price-list reader: it must never crash, and whatever it keeps must be
// what the window relies on.
#include "catalogue/PriceListReader.h"
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const PriceList list = PriceListReader::read(bytes);
    // The window's tables hold 100 rows; a kept row always has both prices as numbers.
    if (list.rows.size() > std::size_t(PriceListReader::MaxRows)) std::abort();
    for (const PriceRow& r : list.rows)
        if (!r.listPrice.isNumber() || !r.offerPrice.isNumber()) std::abort();
    // A list that cannot fill the window's page, or that lost rows, is always explained.
    if (list.error.isEmpty() && (list.rows.size() < std::size_t(PriceListReader::PageRows) ||
                                 list.announced != (long long)list.rows.size()))
        std::abort();
    for (const PriceRow& r : list.rows) {
        (void)r.name.screenText(QLocale::c());
        (void)r.listPrice.priceText(QLocale::c());
    }
    return 0;
}
