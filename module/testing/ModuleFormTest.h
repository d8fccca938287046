#pragma once

#include "records/ModuleFiles.h"

#include "runtime/testing/FormDriver.h"

#include "data/Company.h"
#include "data/Session.h"
#include "data/testing/TestDatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qaveq::testing {

// What every widget test of a module form stands on: a private company, a
// session signed on as ADM with its own folder of workstation INI files, the
// scripted prompter and picker, a fixed clock, and the warnings shown.
class ModuleFormTest : public ::testing::Test
{
protected:
    QTemporaryDir settings;
    TestDatabase database{"SQLite"};
    data::Company company{database.settings(), companyCatalog()};
    data::Session session{&company};
    ScriptedPrompter prompter;
    ScriptedPicker picker;
    FixedClock clock{QDateTime(QDate(2026, 3, 15), QTime(9, 30))};
    QList<int> warnings;

    ModuleFormTest()
    {
        session.userId = QStringLiteral("ADM");
        session.iniFolder = settings.path();
    }

    // The form over `request`, opened as a user meets it.
    std::unique_ptr<FormDriver> openForm(forms::FormDefinition definition, data::Request request,
                                         FormExtras extras = {})
    {
        session.globalRequest = request;
        return std::make_unique<FormDriver>(std::move(definition), session, prompter, picker, clock,
                                            warnings, std::move(extras));
    }
};

} // namespace qaveq::testing
