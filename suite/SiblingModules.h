#pragma once

namespace qaveq::data {
class SuiteModule;
}

namespace qaveq::suite {

// The sibling modules of this process, in the order the equipment module
// initialises them (after the data module).
data::SuiteModule &qavmisc();
data::SuiteModule &qavgl();
data::SuiteModule &qavjc();
data::SuiteModule &qavpr();

} // namespace qaveq::suite
