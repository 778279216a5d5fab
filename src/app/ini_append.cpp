#include "app/ini_append.h"

std::string CommentedOutLines(std::string appended, const std::vector<size_t>& lineStarts) {
  for (size_t start : lineStarts) {
    if (start < appended.size()) appended[start] = ';';
  }
  return appended;
}
