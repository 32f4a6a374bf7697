// The batch runner's settings commands take only what the settings dialog
// takes: a level of 0 would print an interval of -3.2E62.
#include <gtest/gtest.h>

#include <sstream>

#include "batch/batch_runner.h"

namespace dalvex {
namespace {

TEST(BatchSettingsTest, LevelAndDigitsOutsideTheirRangesStopTheScript) {
    struct Case {
        const char* line;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"level 0.01", BatchDone, ""},
        {"level 0,1", BatchDone, ""},
        {"level 0", BatchScriptFault, "уровень значимости должен быть больше 0 и меньше 0.2"},
        {"level 0.2", BatchScriptFault, "уровень значимости должен быть больше 0 и меньше 0.2"},
        {"level -1", BatchScriptFault, "уровень значимости должен быть больше 0 и меньше 0.2"},
        {"digits 3", BatchDone, ""},
        {"digits 9", BatchDone, ""},
        {"digits 2", BatchScriptFault, "число значащих цифр должно быть от 3 до 9"},
        {"digits 10", BatchScriptFault, "число значащих цифр должно быть от 3 до 9"},
    };
    for (const Case& c : cases) {
        std::ostringstream results, messages;
        const int status =
            RunBatchScript(std::string(c.line) + "\n", "./", MethodRegistry{}, results, messages);
        EXPECT_EQ(status, c.status) << c.line << ": " << messages.str();
        EXPECT_NE(messages.str().find(c.message), std::string::npos) << c.line;
        if (c.status != BatchDone) {
            EXPECT_NE(messages.str().find("строка 1"), std::string::npos) << messages.str();
        }
    }
}

}  // namespace
}  // namespace dalvex
