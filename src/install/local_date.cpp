#include "install/local_date.h"

#include <cctype>
#include <tuple>
#include <vector>

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// The order of day, month and year in the pattern: 'd', 'm' and 'y' in order of appearance,
// and the first character that is none of the pattern's letters as the separator.
struct DateOrder {
  std::string fields;
  char separator = '/';
};

DateOrder OrderOf(const std::string& pattern) {
  DateOrder order;
  bool separatorFound = false;
  for (char c : pattern) {
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (letter == 'd' || letter == 'm' || letter == 'y') {
      if (order.fields.find(letter) == std::string::npos) order.fields += letter;
    } else if (!separatorFound && c != '\'' && c != ' ') {
      order.separator = c;
      separatorFound = true;
    }
  }
  if (order.fields.size() != 3) order.fields = "mdy";
  return order;
}

class Scanner {
 public:
  explicit Scanner(const std::string& text) : text_(text) {}
  void SkipBlanks() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }
  bool Number(int& value, size_t& digits) {
    SkipBlanks();
    size_t start = at_;
    value = 0;
    while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])) &&
           at_ - start < 4) {
      value = value * 10 + (text_[at_++] - '0');
    }
    digits = at_ - start;
    return digits > 0;
  }
  bool Take(char c) {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  // "AM" or "PM" in any letter case; 0 when neither follows.
  char Meridiem() {
    SkipBlanks();
    if (at_ + 2 > text_.size()) return 0;
    char first = static_cast<char>(std::toupper(static_cast<unsigned char>(text_[at_])));
    char second = static_cast<char>(std::toupper(static_cast<unsigned char>(text_[at_ + 1])));
    if ((first != 'A' && first != 'P') || second != 'M') return 0;
    at_ += 2;
    return first;
  }
  bool AtEnd() {
    SkipBlanks();
    return at_ == text_.size();
  }

 private:
  const std::string& text_;
  size_t at_ = 0;
};

}  // namespace

std::optional<platform::LocalDateTime> ParseLocalDateTime(const std::string& text,
                                                          const std::string& shortDatePattern,
                                                          int currentYear) {
  DateOrder order = OrderOf(shortDatePattern);
  Scanner scan(text);
  std::vector<int> numbers;
  std::vector<size_t> widths;
  for (int i = 0; i < 3; ++i) {
    if (i > 0 && !scan.Take(order.separator)) break;
    int value;
    size_t digits;
    if (!scan.Number(value, digits)) return std::nullopt;
    numbers.push_back(value);
    widths.push_back(digits);
  }
  if (numbers.size() < 2) return std::nullopt;
  platform::LocalDateTime result;
  result.year = currentYear;
  bool yearGiven = numbers.size() == 3;
  std::string fields = order.fields;
  if (!yearGiven) fields.erase(fields.find('y'), 1);
  size_t yearWidth = 4;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (fields[i] == 'd') result.day = numbers[i];
    if (fields[i] == 'm') result.month = numbers[i];
    if (fields[i] == 'y') {
      result.year = numbers[i];
      yearWidth = widths[i];
    }
  }
  if (yearGiven && yearWidth <= 2) {
    result.year += currentYear / 100 * 100;
    if (result.year > currentYear + 50) result.year -= 100;
    if (result.year <= currentYear - 50) result.year += 100;
  }
  if (result.year < 1 || result.month < 1 || result.month > 12 || result.day < 1 ||
      result.day > DaysInMonth(result.year, result.month))
    return std::nullopt;
  if (scan.AtEnd()) return result;

  size_t digits;
  if (!scan.Number(result.hour, digits)) return std::nullopt;
  if (scan.Take(':')) {
    if (!scan.Number(result.minute, digits)) return std::nullopt;
    if (scan.Take(':') && !scan.Number(result.second, digits)) return std::nullopt;
  }
  char meridiem = scan.Meridiem();
  if (meridiem != 0) {
    if (result.hour < 1 || result.hour > 12) return std::nullopt;
    result.hour = result.hour % 12 + (meridiem == 'P' ? 12 : 0);
  }
  if (!scan.AtEnd() || result.hour > 23 || result.minute > 59 || result.second > 59)
    return std::nullopt;
  return result;
}

platform::LocalDateTime FromDosDateTime(uint16_t dosDate, uint16_t dosTime) {
  return {1980 + (dosDate >> 9), (dosDate >> 5) & 0x0F, dosDate & 0x1F,
          dosTime >> 11,         (dosTime >> 5) & 0x3F, (dosTime & 0x1F) * 2};
}

bool Earlier(const platform::LocalDateTime& a, const platform::LocalDateTime& b) {
  return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <
         std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}
