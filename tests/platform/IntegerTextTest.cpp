#include "platform/IntegerText.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(IntegerText, SignAndDecimalDigitsWithin32Bits) {
    struct Case {
        const char* text;
        int32_t value;
    };
    for (Case c : {Case{"0", 0}, Case{"30", 30}, Case{"+5", 5}, Case{"-3", -3}, Case{"007", 7}, Case{"-0", 0},
                   Case{"2147483647", 2147483647}, Case{"-2147483648", -2147483647 - 1}})
        EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
}

TEST(IntegerText, AnythingElseIsAConversionErrorNamingTheText) {
    for (const char* text : {"", " ", "12x", "x12", " 5", "5 ", "+", "-", "+-5", "++5", "--5", "1.5", "1e3",
                             "0x10", "2147483648", "-2147483649", "99999999999999999999", "５"}) {
        try {
            TextToInteger(text);
            ADD_FAILURE() << "'" << text << "' was taken as a number";
        } catch (const EConvertError& error) {
            EXPECT_EQ(std::string(error.what()), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

} // namespace
} // namespace velmora
