#pragma once

namespace qaveq::demo {

class DemoRun;

// Eighteen months of the company's life, through the suite's own runs. Each
// month opens with the period close of the month before; the month's usage
// logs are entered in a batch, the vendor bills of the equipment's cost
// categories go to the G/L through the suite's journal posting, and the
// suite's posting run posts the batch on the last day of the month. What the
// history leaves beside those runs' totals: the meters and average use of
// the equipment and the last services of its cost categories.
void writeHistory(DemoRun &run);

// The batches still at work in the current month, with their logs.
void writeOpenBatches(DemoRun &run);

} // namespace qaveq::demo
