#include "testsupport/PrintQueue.h"

#include <windows.h>
#include <winspool.h>

#include <cstdlib>

bool PrintQueueExists(const char* name)
{
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(name), &printer, nullptr))
        return false;
    ::ClosePrinter(printer);
    return true;
}

bool RunByTestCommand()
{
    const char* set = std::getenv("SL_TEST_COMMAND");
    return set != nullptr && *set != 0;
}

std::string MissingQueueMessage(const char* name)
{
    std::string text = std::string("no print queue \"") + name + "\"";
    if (RunByTestCommand())
        return text + ": the test command starts its print server with this queue, so the server or the print road "
                      "is broken";
    return text + ": run this test under the test command (make test, or scripts/test.sh), which starts a print "
                  "server with the test queues";
}
