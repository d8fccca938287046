#include "DemoPlan.h"

#include "data/FileError.h"

namespace qaveq::demo {

const KindPlan &planOf(Kind kind)
{
    for (const KindPlan &plan : Kinds)
        if (plan.kind == kind)
            return plan;
    throw data::DataError("a kind of demonstration equipment without a plan");
}

QStringList categoriesOf(Kind kind)
{
    QStringList categories;
    for (const char16_t *category : planOf(kind).categories)
        categories.append(QString::fromUtf16(category));
    return categories;
}

const CategoryPlan &categoryPlan(const QString &id)
{
    for (const CategoryPlan &plan : Categories)
        if (id == QStringView(plan.id))
            return plan;
    throw data::DataError("a demonstration cost category without a plan");
}

} // namespace qaveq::demo
