// Fuzz target for the complete reader: any bytes are read to the end, give
// one class record and its states, name nothing that is not a piece of the
// text, and keep and read back through the record list unchanged.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "model/class_list.h"
#include "model/model_codec.h"
#include "reader/complete_reader.h"

namespace {

bool Within(std::string_view piece, std::string_view text) {
  return piece.empty() ||
         (piece.data() >= text.data() && piece.data() + piece.size() <= text.data() + text.size());
}

void CheckPieces(const model::RecordModel& m, std::string_view text) {
  FUZZ_CHECK(Within(m.name, text));
  for (std::string_view word : m.words) FUZZ_CHECK(Within(word, text));
  for (const model::Variable& v : m.variables) {
    FUZZ_CHECK(Within(v.name, text) && Within(v.type, text));
    FUZZ_CHECK(v.structure <= m.structs.size());
  }
  for (const model::Function& f : m.functions) {
    FUZZ_CHECK(Within(f.name, text));
    FUZZ_CHECK(f.firstParameter + f.parameterCount <= m.parameters.size());
  }
  for (const model::Parameter& p : m.parameters) FUZZ_CHECK(Within(p.type, text));
  const auto in_words = [&](model::Words w) { return w.first + w.count <= m.words.size(); };
  FUZZ_CHECK(in_words(m.modifiers) && in_words(m.ignores));
  for (const model::Enumeration& e : m.enums) FUZZ_CHECK(in_words(e.values));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Exactly the input, so that reading past its end is caught.
  std::unique_ptr<char[]> bytes(new char[size ? size : 1]);
  if (size) std::memcpy(bytes.get(), data, size);
  const std::string_view text(bytes.get(), size);

  reader::CCompleteParser parser;
  FUZZ_CHECK(parser.Read(text));
  FUZZ_CHECK(parser.Count() >= 1);
  FUZZ_CHECK(!parser.Record(0).isState);
  CClassList list;
  std::string packed;
  std::string again;
  model::RecordModel read_back;
  for (size_t i = 0; i < parser.Count(); ++i) {
    const model::RecordModel& m = parser.Record(i);
    FUZZ_CHECK(m.isState == (i > 0));
    CheckPieces(m, text);
    // The packed model reads back as it was.
    packed.clear();
    model::PackModel(m, packed);
    model::UnpackModel(packed, read_back);
    again.clear();
    model::PackModel(read_back, again);
    FUZZ_CHECK(packed == again);
    CClassRecord* record = list.CreateRecord();
    FUZZ_CHECK(record != nullptr);
    RecordTexts texts;
    texts.name = m.name;
    texts.model = packed;
    texts.modelCounts = {m.VariableCount(), m.EventCount(), m.FunctionCount()};
    FUZZ_CHECK(list.SetTexts(*record, texts));
    FUZZ_CHECK(record->name() == m.name);
    FUZZ_CHECK(record->packedModel() == packed);
    FUZZ_CHECK(record->counts() == texts.modelCounts);
  }
  return 0;
}
