#include "writer/common/record_page.h"

#include <string>

#include "model/class_record.h"
#include "model/declaration_text.h"
#include "model/model_codec.h"
#include "platform/console.h"
#include "platform/output_file.h"
#include "platform/thread_scratch.h"
#include "writer/common/html_escape.h"
#include "writer/common/templates.h"

namespace {

void AppendItems(std::string& page, const CTextList& items) {
  for (std::string_view item : items) {
    page.append(templates::kPageItemOpen);
    AppendEscaped(page, item);
    page.append(templates::kPageItemClose);
  }
}

// The items of a record read with its model: each member's declaration
// rebuilt from its parts, the record's own variables, its events, and its
// other functions.
void AppendModelDeclarations(std::string& page, std::string_view packed) {
  // Each writing thread keeps the model and the declaration's room from
  // page to page.
  struct Scratch {
    model::RecordModel record;
    std::string declaration;
  };
  Scratch& scratch = platform::ThreadScratch<Scratch>();
  model::RecordModel& record = scratch.record;
  std::string& declaration = scratch.declaration;
  model::UnpackModel(packed, record);
  const auto item = [&](const auto& member) {
    declaration.clear();
    model::AppendDeclaration(declaration, record, member);
    page.append(templates::kPageItemOpen);
    AppendEscaped(page, declaration);
    page.append(templates::kPageItemClose);
  };
  page.append(templates::kPageVariables);
  for (const model::Variable& variable : record.variables) {
    if (variable.structure == 0) item(variable);
  }
  page.append(templates::kPageEvents);
  for (const model::Function& function : record.functions) {
    if (function.kind == model::FunctionKind::kEvent) item(function);
  }
  page.append(templates::kPageFunctions);
  for (const model::Function& function : record.functions) {
    if (function.kind != model::FunctionKind::kEvent) item(function);
  }
  page.append(templates::kPageEnd);
}

}  // namespace

void AppendDeclarations(std::string& page, const CClassRecord& record) {
  const std::string_view packed = record.packedModel();
  if (!packed.empty()) {
    AppendModelDeclarations(page, packed);
    return;
  }
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
  return file.CloseWith(page) ? PageStatus::kWritten : PageStatus::kCannotWrite;
}

void ReportPage(const std::string& path, PageStatus status) {
  if (status == PageStatus::kCannotOpen) console::Problem(templates::kUnableToOpen, path.c_str());
  if (status == PageStatus::kCannotWrite) console::Problem(templates::kUnableToWrite, path.c_str());
}
