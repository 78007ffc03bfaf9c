// Tests that need a print queue.  The test command (scripts/test.sh) starts a print server
// with its queues and says so in SL_TEST_COMMAND: under it a missing queue is a broken
// print road and fails the test, naming the queue.  Run by hand without that server, such
// a test is skipped with a message that says how to run it properly.
#pragma once
#include <string>

#include <gtest/gtest.h>

// Whether the spooler knows the queue `name` (any case).
bool PrintQueueExists(const char* name);
// Whether the test command runs this process (SL_TEST_COMMAND is set).
bool RunByTestCommand();
// What a test says when the queue `name` is missing.
std::string MissingQueueMessage(const char* name);

// Returns from the test (or SetUp) when the queue is missing: a failure under the test
// command, a skip when run by hand.
#define REQUIRE_PRINT_QUEUE(name)                      \
    do {                                               \
        if (!PrintQueueExists(name)) {                 \
            if (RunByTestCommand())                    \
                FAIL() << MissingQueueMessage(name);   \
            GTEST_SKIP() << MissingQueueMessage(name); \
        }                                              \
    } while (0)
