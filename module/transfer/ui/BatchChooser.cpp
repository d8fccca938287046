#include "BatchChooser.h"

#include "records/EQBatch.h"

#include "core/Text.h"

using namespace Qt::StringLiterals;

namespace qaveq {

BatchChooser::BatchChooser(const QList<EQBatch> &batches, QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(u"batchChooser"_s);
    for (const EQBatch &batch : batches)
        addItem(QString::number(batch.BatchID) + u"  "_s + Text::clip(batch.Description),
                batch.BatchID);
}

quint16 BatchChooser::batchId() const
{
    return currentIndex() < 0 ? 0 : quint16(currentData().toUInt());
}

} // namespace qaveq
