// Access keys in captions: "&User Name:" is drawn "User Name:" with the U underlined and answers
// Alt+U; "&&" stands for one "&".
#pragma once

#include <string>

// The character after the first single "&", or 0 when the caption has none.
char AccessKey(const std::string& caption);

// The caption as it reads on screen: single "&" markers dropped, "&&" shown as one "&".
std::string CaptionAsShown(const std::string& caption);
