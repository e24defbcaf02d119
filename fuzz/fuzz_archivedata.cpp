// The archive data reader and its validation against a definition, on arbitrary bytes.
#include "archives/ArchiveData.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveValidation.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedArchive parsed = ArchiveData::parse(bytes);
    for (const ParsedTopic& t : parsed.topics)
        if (t.cells.size() != qsizetype(t.cellLines.size())) __builtin_trap();
    const ArchiveDefinition& def = Archives::all()[size % Archives::Count];
    (void)ArchiveValidation::validate(def, parsed);
    return 0;
}
