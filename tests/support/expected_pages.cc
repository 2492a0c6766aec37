#include "support/expected_pages.h"

#include <cstdio>

namespace expected {

namespace {
std::string Number(int number) {
  char text[32];
  std::snprintf(text, sizeof text, "%05d", number);
  return text;
}
}  // namespace

std::string EntryLine(int number, const std::string& kind, const std::string& name,
                      const std::string& parent, const std::string& counts) {
  return "<li id='idHeader" + Number(number) + "' class='clsHeader'>" + kind + " <a href=\"" +
         Number(number) + ".html\" target=\"_blank\"><font color='blue'><b>" + name +
         "</b></font></a> (" + parent + "), <font size=1> " + counts + "</font></li>\n";
}

std::string SubList(int number) {
  return "<ul id='idBlurb" + Number(number) + "' class='clsBlurb'>\n";
}

std::string Page(const std::string& name, const std::string& vars_items,
                 const std::string& events_items, const std::string& functions_items) {
  return "<html><head><title>\nClass " + name + "</title></head><body>\n" +
         "<p><i>Variables:</i></p><ul>\n" + vars_items + "</ul><p><i>Events:</i></p><ul>\n" +
         events_items + "</ul><p><i>Functions:</i></p><ul>\n" + functions_items +
         "</ul></body></html>";
}

}  // namespace expected
