#pragma once

#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace TestSupport {

// Puts every process-wide instance back as the program starts with it: an empty undo history, a
// multicaster without subscribers, no progress target, an empty picture store without filter host,
// empty custom colours, German texts, no override cursor and no widget waiting to be deleted.
void ResetProcessWideState();

// The fixture of window tests: each test starts from the state above in a fresh home folder, and
// what it leaves behind is cleared before the next one runs.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessWideState(); }
    void TearDown() override { ResetProcessWideState(); }

    TempHome home;
};

} // namespace TestSupport
