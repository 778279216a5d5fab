// Access keys in captions: which key a caption answers, and how it reads on screen.
#include "wizard/access_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(AccessKeys, KeyAndShownTextOfACaption) {
  struct Case {
    const char* caption;
    char key;
    const char* shown;
  } cases[] = {
      {"&User Name:", 'U', "User Name:"},
      {"B&rowse...", 'r', "Browse..."},
      {"No key", 0, "No key"},
      {"", 0, ""},
      {"R&&D", 0, "R&D"},                       // "&&" is a plain "&"
      {"R&&D &Tools", 'T', "R&D Tools"},        // the key after the escaped one
      {"&&&Save", 'S', "&Save"},                // "&&" then the marker
      {"&First &Second", 'F', "First Second"},  // the first marker names the key
      {"Trailing &", 0, "Trailing "},           // a marker with nothing after it
      {"Quick Launch && more", 0, "Quick Launch & more"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AccessKey(c.caption), c.key) << c.caption;
    EXPECT_EQ(CaptionAsShown(c.caption), c.shown) << c.caption;
  }
}

}  // namespace
