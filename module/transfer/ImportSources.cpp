#include "ImportSources.h"

#include "ImportLayout.h"

#include "data/Company.h"
#include "data/Transaction.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace qaveq::ImportSources {

JCLimits builtIn()
{
    JCLimits source;
    source.Report = ImportLayout::SourceKind;
    source.ReportTitle = ImportLayout::BuiltInTitle;
    source.PrintOrder = QString(ImportLayout::Comma);
    source.JobTo = ImportLayout::BuiltInDateFormat;
    source.Layout = ImportLayout::BuiltInLayout;
    return source;
}

bool isBuiltIn(const JCLimits &source)
{
    return Text::clip(source.ReportTitle) == ImportLayout::BuiltInTitle;
}

QList<JCLimits> all(data::Company &company)
{
    QList<JCLimits> sources;
    data::KeyCursor cursor = company.file<JCLimits>().scan(
        u"KeyReport", data::ScanOptions::equal({ImportLayout::SourceKind}));
    for (JCLimits source; cursor.next(source);)
        sources.append(source);
    return sources;
}

std::optional<JCLimits> find(data::Company &company, const QString &title)
{
    JCLimits source;
    source.Report = ImportLayout::SourceKind;
    source.ReportTitle = Text::clip(title);
    if (source.ReportTitle.isEmpty() || !company.file<JCLimits>().fetch(u"KeyReport", source))
        return std::nullopt;
    return source;
}

data::FileStatus ensureBuiltIn(data::Company &company, QString *failure)
{
    // Under the file's transaction, so that two users opening the import at
    // the same moment make one built-in source between them.
    data::Transaction transaction(company.database(), {u"JCLimits"_s}, 5s);
    if (!transaction.isActive()) {
        if (failure)
            *failure = transaction.notBegunText();
        return transaction.error();
    }
    if (find(company, ImportLayout::BuiltInTitle))
        return {};
    JCLimits source = builtIn();
    data::Table &file = company.file<JCLimits>();
    if (data::FileStatus status = file.prime(source); !status) {
        if (failure)
            *failure = status.error().text() + u" Autoincrementing JCLimits"_s;
        return status;
    }
    if (data::FileStatus status = file.insert(source); !status) {
        if (failure)
            *failure = status.error().text() + u" Inserting JCLimits"_s;
        return status;
    }
    data::FileStatus committed = transaction.commit();
    if (!committed && failure)
        *failure = committed.error().text() + u" Inserting JCLimits"_s;
    return committed;
}

} // namespace qaveq::ImportSources
