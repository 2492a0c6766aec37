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

PageStatus WritePageText(const std::string& path, std::string_view page) {
  platform::COutputFile file;
  if (!file.Open(path)) return PageStatus::kCannotOpen;
  file.Write(page);
  return file.Close() ? PageStatus::kWritten : PageStatus::kCannotWrite;
}

void ReportPage(const std::string& path, PageStatus status) {
  if (status == PageStatus::kCannotOpen) console::Problem(templates::kUnableToOpen, path.c_str());
  if (status == PageStatus::kCannotWrite) console::Problem(templates::kUnableToWrite, path.c_str());
}
