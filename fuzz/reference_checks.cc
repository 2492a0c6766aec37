#include "fuzz/reference_checks.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/json_reader.h"
#include "fuzz/page_reader.h"
#include "model/class_list.h"
#include "platform/path.h"
#include "writer/data/model_json.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fault(std::string_view file, std::string_view what, std::string_view detail) {
  std::fprintf(stderr, "reference check failed: %.*s: %.*s: \"%.*s\"\n",
               static_cast<int>(file.size()), file.data(), static_cast<int>(what.size()),
               what.data(), static_cast<int>(detail.size()), detail.data());
  std::abort();
}

void Expect(bool condition, std::string_view file, std::string_view what,
            std::string_view detail = {}) {
  if (!condition) Fault(file, what, detail);
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  Expect(in.good(), path.filename().string(), "cannot be read");
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string PageName(size_t number) {
  char name[32];
  std::snprintf(name, sizeof name, "%05zu.html", number);
  return name;
}

// Reads "12,,3," (each number followed by a comma, an empty one none).
std::vector<long> ReadNumbers(std::string_view text) {
  std::vector<long> numbers;
  long value = -1;
  for (char c : text) {
    if (c == ',') {
      numbers.push_back(value);
      value = -1;
    } else {
      value = (value < 0 ? 0 : value * 10) + (c - '0');
    }
  }
  return numbers;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string_view::npos;
       start = end + 1, end = text.find('\n', start)) {
    lines.emplace_back(text.substr(start, end - start));
  }
  return lines;
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

class CReferenceChecker {
 public:
  CReferenceChecker(const std::string& destDir, const CClassList& list)
      : dest_(destDir), list_(list) {}

  void Check() {
    ReadIndex();
    for (const auto& entry : fs::directory_iterator(dest_)) {
      const std::string name = entry.path().filename().string();
      if (name.size() > 5 && name.ends_with(".html")) ReadPage(name);
      written_.insert(name);
    }
    Expect(written_.count("reference.css") == 1, "reference.css", "not written");
    for (size_t i = 0; i < count_; ++i) {
      Expect(pages_.count(PageName(i)) == 1, PageName(i), "the page of a record not written");
    }
    for (const auto& [name, page] : pages_) CheckLinks(name, page);
    CheckMemberData();
    CheckModel();
  }

 private:
  struct Page {
    std::set<std::string> targets;
    std::vector<std::string> links;
  };

  void ReadIndex() {
    const std::string index = ReadWhole(dest_ / "index.html");
    std::string kinds;
    std::string parents;
    Expect(ReadScriptString(index, "const kinds = \"", kinds), "index.html", "no kinds");
    Expect(ReadScriptString(index, "const parentText = \"", parents), "index.html", "no parents");
    count_ = kinds.size();
    kinds_ = kinds;
    parents_ = ReadNumbers(parents);
    Expect(count_ == list_.Count(), "index.html", "not one entry per record", kinds);
    Expect(parents_.size() == count_, "index.html", "not one parent per record", parents);
  }

  void ReadPage(const std::string& name) {
    PageLinks links;
    std::string error;
    Expect(ReadPageLinks(ReadWhole(dest_ / name), links, error), name, "markup", error);
    Page& page = pages_[name];
    for (const std::string& target : links.targets) {
      if (!page.targets.insert(target).second) Fault(name, "an anchor twice", target);
    }
    page.links = std::move(links.links);
  }

  // A link is followed as a browser would: a file beside the page, and an
  // element of that file named by the fragment. The index's fragments are
  // record numbers, read by its script. Links that leave the reference are
  // not followed.
  void CheckLinks(const std::string& name, const Page& page) {
    for (const std::string& link : page.links) {
      if (link.starts_with("http:") || link.starts_with("https:") || link.starts_with("file:") ||
          link.starts_with("mailto:")) {
        continue;
      }
      const size_t hash = link.find('#');
      const std::string file = hash == std::string::npos ? link : link.substr(0, hash);
      const std::string target = file.empty() ? name : file;
      Expect(written_.count(target) == 1, name, "a link to a file not written", link);
      if (hash == std::string::npos) continue;
      const std::string fragment = link.substr(hash + 1);
      if (target == "index.html" && IsDigits(fragment)) {
        Expect(std::stoul(fragment) < count_, name, "a link to an entry not in the index", link);
        continue;
      }
      const auto found = pages_.find(target);
      Expect(found != pages_.end() && found->second.targets.count(fragment) == 1, name,
             "a link to an anchor not on its page", link);
    }
  }

  // Each member of the search data is its owner's page at its anchor: the
  // one stored for it, else its kind's prefix and its name.
  void CheckMemberData() {
    const std::string data = ReadWhole(dest_ / "members.js");
    std::string kinds, counts, names, prefixes, anchors;
    Expect(ReadScriptString(data, "const memberKinds = \"", kinds) &&
               ReadScriptString(data, "const memberCounts = \"", counts) &&
               ReadScriptString(data, "const memberNames = \"", names) &&
               ReadScriptString(data, "const memberPrefixes = \"", prefixes) &&
               ReadScriptString(data, "const memberAnchors = \"", anchors),
           "members.js", "a table missing");
    const std::vector<long> per_record = ReadNumbers(counts);
    const std::vector<std::string> name_list = SplitLines(names);
    const std::vector<std::string> prefix_list = SplitLines(prefixes);
    Expect(per_record.size() == count_, "members.js", "not one count per record", counts);
    Expect(name_list.size() == kinds.size(), "members.js", "not one name per member", names);
    std::map<size_t, std::string> stored;
    for (const std::string& line : SplitLines(anchors)) {
      const size_t comma = line.find(',');
      Expect(comma != std::string::npos && IsDigits(line.substr(0, comma)), "members.js",
             "a stored anchor unreadable", line);
      stored[std::stoul(line.substr(0, comma))] = line.substr(comma + 1);
    }
    size_t member = 0;
    for (size_t record = 0; record < count_; ++record) {
      const long members = per_record[record] < 0 ? 0 : per_record[record];
      const Page& page = pages_[PageName(record)];
      for (long k = 0; k < members; ++k, ++member) {
        Expect(member < kinds.size(), "members.js", "more members counted than named");
        // A kind in capitals is a function's that overrides another.
        const size_t kind = static_cast<size_t>((kinds[member] | 0x20) - 'a');
        Expect(kind < prefix_list.size(), "members.js", "an unknown kind", kinds);
        // The kinds from the fifth on are functions, events and the like.
        Expect(kinds[member] >= 'a' || kind >= 4, "members.js", "an overriding non-function",
               kinds);
        const auto anchor = stored.find(member);
        const std::string name =
            anchor != stored.end() ? anchor->second : prefix_list[kind] + name_list[member];
        Expect(page.targets.count(name) == 1, PageName(record),
               "a member of the search without its anchor", name);
      }
    }
    Expect(member == kinds.size(), "members.js", "fewer members counted than named");
  }

  // Every "line" a record's part names is a line of its script's source
  // page, named after its class. A class without a class statement has
  // none: its own line is 0.
  void CheckLines(const JsonValue& value, const Page& source, const std::string& name,
                  bool record) {
    const JsonValue* line = value.Find("line");
    if (line && !(record && line->text == "0")) {
      Expect(line->type == JsonValue::Type::kNumber && IsDigits(line->text) &&
                 source.targets.count("L" + line->text) == 1,
             "model.json", "a line not on the source page " + name, line->text);
    }
    for (const JsonValue& item : value.items) CheckLines(item, source, name, false);
  }

  void CheckModel() {
    const std::string text = ReadWhole(dest_ / "model.json");
    JsonValue model;
    std::string error;
    Expect(ReadJson(text, model, error), "model.json", "not valid JSON in UTF-8", error);
    const JsonValue* records = model.Find("records");
    Expect(records && records->type == JsonValue::Type::kArray && records->items.size() == count_,
           "model.json", "not the records of the index");
    for (size_t i = 0; i < count_; ++i) {
      const JsonValue& record = records->items[i];
      const JsonValue* number = record.Find("number");
      const JsonValue* kind = record.Find("kind");
      const JsonValue* parent = record.Find("parent");
      const JsonValue* script = record.Find("script");
      const std::string at = "record " + std::to_string(i);
      Expect(number && number->text == std::to_string(i), "model.json", "a number out of place",
             at);
      Expect(kind && kind->text == (kinds_[i] == 's' ? "state" : "class"), "model.json",
             "a kind unlike the index's", at);
      const std::string parent_text = parents_[i] < 0 ? std::string() : std::to_string(parents_[i]);
      Expect(parent && (parent_text.empty() ? parent->type == JsonValue::Type::kNull
                                            : parent->text == parent_text),
             "model.json", "a parent unlike the index's", at);
      Expect(script && script->type == JsonValue::Type::kString, "model.json", "no script", at);
      CheckScriptPath(script->text, list_.At(i).scriptPath());
      // A state's script is its class's, whose source page it shares.
      const size_t owner =
          kinds_[i] == 's' && parents_[i] >= 0 ? static_cast<size_t>(parents_[i]) : i;
      std::string source_name = "source-" + PageName(owner);
      const auto source = pages_.find(source_name);
      Expect(source != pages_.end(), source_name, "no source page of a class");
      CheckLines(record, source->second, source_name, true);
    }
  }

  // A script's path is written as it is when it is valid UTF-8, and read as
  // windows-1252 when it is not.
  static void CheckScriptPath(const std::string& written, std::string path) {
    if (platform::kPathSeparator != '/') {
      for (char& c : path) {
        if (c == platform::kPathSeparator) c = '/';
      }
    }
    std::string expected = path;
    if (!IsValidUtf8(path)) {
      std::string json;
      AppendJsonString(json, path);
      JsonValue decoded;
      std::string error;
      Expect(ReadJson(json, decoded, error), "model.json", "a path unreadable", error);
      expected = decoded.text;
    }
    Expect(written == expected, "model.json", "a script's path written wrongly", written);
  }

  fs::path dest_;
  const CClassList& list_;
  size_t count_ = 0;
  std::string kinds_;
  std::vector<long> parents_;
  std::set<std::string> written_;
  std::map<std::string, Page> pages_;
};

}  // namespace

void CheckReference(const std::string& destDir, const CClassList& list) {
  CReferenceChecker(destDir, list).Check();
}
