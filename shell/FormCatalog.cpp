#include "FormCatalog.h"
#include "frmSplash.h"
#include "informa.h"
#include "scelta.h"
#include "archives/ArchiveDefinition.h"
#include "archives/ArchiveWindow.h"
#include "platform/Forms.h"

void DefineAllForms()
{
    Forms& f = Forms::instance();
    f.define(QStringLiteral("frmSplash"), [] { return new frmSplash; });
    f.define(QStringLiteral("scelta"), [] { return new scelta; });
    f.define(QStringLiteral("informa"), [] { return new informa; });
    f.define(QStringLiteral("supportoclienti"), [] { return new supportoclienti; });
    for (const ArchiveDefinition& a : Archives::all()) {
        const ArchiveDefinition* def = &a;
        f.define(a.name(), [def] { return new ArchiveWindow(*def); });
    }
}
