#include "writer/record_page.h"

#include <string>

#include "model/class_record.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "writer/html_escape.h"
#include "writer/templates.h"

namespace {

void AppendItems(std::string& page, const CTextList& items) {
  for (std::string_view item : items) {
    page.append(templates::kPageItemOpen);
    AppendEscaped(page, item);
    page.append(templates::kPageItemClose);
  }
}

}  // namespace

void AppendDeclarations(std::string& page, const CClassRecord& record) {
  page.append(templates::kPageVariables);
  AppendItems(page, record.vars());
  page.append(templates::kPageEvents);
  AppendItems(page, record.events());
  page.append(templates::kPageFunctions);
  AppendItems(page, record.functions());
  page.append(templates::kPageEnd);
}

bool WritePageFile(const std::string& path, std::string_view page) {
  platform::COutputFile file;
  if (!file.Open(path)) {
    console::Problem(templates::kUnableToOpen, path.c_str());
    return false;
  }
  file.Write(page);
  if (!file.Close()) {
    console::Problem(templates::kUnableToWrite, path.c_str());
    return false;
  }
  return true;
}

bool CClassRecord::WriteRecordPage(const std::string& path) const {
  // The page is put together whole and written at once.
  static std::string page;
  page.clear();
  page.append(templates::kPageTitleOpen);
  AppendEscaped(page, name());
  page.append(templates::kPageTitleClose);
  AppendDeclarations(page, *this);
  return WritePageFile(path, page);
}
