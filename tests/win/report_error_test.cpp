#include <gtest/gtest.h>

#include <windows.h>

#include "app/report_error.h"
#include "tests/win/support/message_box.h"

TEST(ReportError, ShowsTheTextInAVarnoltErrorBoxAndReturnsWhenClosed)
{
    MessageBoxWatcher watcher;
    ReportError("ERROR: Invalid tone 6");
    EXPECT_EQ(watcher.Text(), "ERROR: Invalid tone 6");
    EXPECT_FALSE(MessageBoxShowing());
}
