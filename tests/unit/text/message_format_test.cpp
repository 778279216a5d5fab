#include "text/message_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FormatCase {
  const char* format;
  const char* argument;
  const char* expected;
};

TEST(FormatMessageText, OneStringDirectiveAndPercentPercentOnly) {
  const FormatCase cases[] = {
      {"Cannot create %s.", "C:\\App", "Cannot create C:\\App."},
      {"%s", "", ""},
      {"No directive", "ignored", "No directive"},
      {"100%% sure: %s", "x", "100% sure: x"},
      {"%%s is literal", "x", "%s is literal"},
      {"%s<#>Retry?", "file", "file\r\nRetry?"},
      {"<#><#>%s", "a", "\r\n\r\na"},
      // The argument is inserted as it is: its own "%" and "<#>" are not formatted again...
      {"[%s]", "50%", "[50%]"},
      {"[%s]", "%s%d", "[%s%d]"},
      // ...but the line-break escape applies to the whole result.
      {"[%s]", "a<#>b", "[a\r\nb]"},
      // Anything else: the text as written, with its line breaks.
      {"%d files", "x", "%d files"},
      {"%s and %s", "x", "%s and %s"},
      {"%s<#>%d", "x", "%s\r\n%d"},
      {"%5s", "x", "%5s"},
      {"%-s", "x", "%-s"},
      {"%0:s", "x", "%0:s"},
      {"%S", "x", "%S"},
      {"%n", "x", "%n"},
      {"50%", "x", "50%"},
      {"%", "x", "%"},
      {"%%%s%%", "x", "%x%"},
  };
  for (const FormatCase& c : cases)
    EXPECT_EQ(FormatMessageText(c.format, c.argument), c.expected) << c.format;
}

}  // namespace
