// FormatMessageText: the one-argument formatting of the [Messages] texts. Translators write
// these texts, so anything beyond one "%s" and "%%" must not reach a real formatter: such a
// text is shown as written rather than risk a crash or a wrong argument.
#include "text/message_format.h"

#include <optional>

#include "text/text_replace.h"

namespace {

std::optional<std::string> Format(const std::string& format, const std::string& argument) {
  std::string result;
  result.reserve(format.size() + argument.size());
  bool argumentUsed = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      result += format[i];
      continue;
    }
    if (++i == format.size()) return std::nullopt;
    if (format[i] == '%') {
      result += '%';
    } else if (format[i] == 's' && !argumentUsed) {
      result += argument;
      argumentUsed = true;
    } else {
      return std::nullopt;
    }
  }
  return result;
}

}  // namespace

std::string FormatMessageText(const std::string& format, const std::string& argument) {
  std::string text = Format(format, argument).value_or(format);
  ReplaceExactly(text, "<#>", "\r\n");
  return text;
}
