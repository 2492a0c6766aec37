// The links of a source page: as the lexer of the page (source_lines.h)
// meets the words, marks and name literals of a script's code, this reads
// enough of its declarations to know the scope of each name, and opens a
// link before each name that names a class, a member of the class or its
// ancestors, or a parameter or local of the enclosing function. A name that
// names nothing, and a declaration's own name, stay text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "writer/links/source_scope.h"

class CPageContext;

/// A link the linker made to a declaration on a record page: a class, or a
/// member of a class or state, with where it stands. Locals link within the
/// source page and are not told.
struct SourceLink {
  static constexpr uint8_t kClassItself = 0xff;  // `kind` of a link to a class
  std::string_view name;                         // the member's as declared; empty for a class
  std::string_view function;  // the function the link stands in; empty outside one
  std::string_view state;     // the state whose body it stands in; empty outside one
  size_t line = 0;
  uint32_t record = 0;          // of the declaration
  uint8_t kind = kClassItself;  // an anchors::MemberKind, or kClassItself
  bool super = false;           // a Super call's function
};

/// What hears of each link the linker makes.
class CLinkListener {
 public:
  virtual void Linked(const SourceLink& link) = 0;

 protected:
  ~CLinkListener() = default;
};

class CSourceLinker {
 public:
  /// Prepares for the source page of the class at `record`.
  void Start(const CPageContext& pages, size_t record);

  /// Tells `listener` (null: nothing) of each link made from now on.
  void Listen(CLinkListener* listener) { listener_ = listener; }

  /// A word of code, `rest` the text after it, on line `line`. Opens a link
  /// in `page` and returns true when the word names something; the caller
  /// writes the word and closes the link with kLinkEnd.
  bool Word(std::string& page, std::string_view word, bool keyword, std::string_view rest,
            size_t line);

  /// A byte of code that is neither part of a word nor blank.
  void Mark(char c);

  /// The text between the quotes of a name literal in code. Opens a link as
  /// Word does when the text names a class (or, after GotoState, a state).
  bool Literal(std::string& page, std::string_view text, size_t line);

  static constexpr std::string_view kLinkEnd = "</a>";

 private:
  // What a name just met gives the name after a following ".": the scope of
  // a class (its members), of the page's class, a Super call's base, a
  // package's classes (the word before the "."), or nothing.
  enum class Via : uint8_t { kNothing, kClass, kMeta, kOwn, kGlobal, kSuper, kSuperOf, kPackage };
  struct Qualifier {
    Via via = Via::kNothing;
    size_t record = 0;
  };
  // A parameter or local of the function being read.
  struct Local {
    std::string_view name;
    size_t line = 0;
    std::string_view type;
    bool parameter = false;
  };
  enum class Decl : uint8_t { kNone, kClass, kFunction, kVar, kLocal, kConst, kStruct, kState };

  void Keyword(std::string_view word, char next, bool dotted, Qualifier via);
  bool Declares(std::string_view word, char next, size_t line);
  bool Qualified(std::string& page, std::string_view word, char next, Qualifier via);
  bool Plain(std::string& page, std::string_view word, char next);
  bool InDefaults(std::string& page, std::string_view word, size_t line);
  bool ClassNamed(std::string& page, std::string_view word, bool classOnly);
  const Local* FindLocal(std::string_view word) const;
  void AddLocal(const Local& local);
  void ForgetLocals();
  const SourceTarget* FindIn(size_t record, std::string_view name, bool call);
  const SourceTarget* FindOwn(std::string_view name, std::string_view state, bool call) const;
  Qualifier TypeQualifier(std::string_view type, size_t position) const;
  bool Super(std::string& page, std::string_view word, size_t base, bool inclusive);
  void OpenMember(std::string& page, const SourceTarget& target);
  void OpenLocal(std::string& page, const Local& local);
  void OpenTitle(std::string& page, std::string_view what, size_t record, std::string_view name);
  void EndStatement();
  void Close();
  void Tell(uint32_t record, uint8_t kind, std::string_view name);

  const CPageContext* pages_ = nullptr;
  CLinkListener* listener_ = nullptr;
  size_t record_ = 0;
  // The cache of the thread the linker runs on, taken as each script starts:
  // a linker may be made on one thread and run on another.
  CModelCache* models_ = nullptr;
  uint64_t run_ = 0;  // of the pages the scopes below were filled for
  // The class's own members and its states' functions; all members of its
  // superclass and the ancestors above, kept while the next pages are of
  // classes of the same superclass, as siblings often are.
  CSourceScope own_;
  CSourceScope parent_;
  // Scopes of other classes that chains lead into, each in the slot its
  // record picks.
  static constexpr size_t kOtherScopes = 8;
  CSourceScope others_[kOtherScopes];
  std::vector<Local> locals_;
  CNameTable local_names_{true};  // each name's first entry in locals_

  // Where the reading stands, wider fields first.
  const char* type_start_ = nullptr;  // of the parameter or local's type
  std::string_view local_type_;
  std::string_view state_;  // the state whose body is read
  std::string_view pending_state_;
  std::string_view last_word_;  // the last word, when the last token was one
  std::string_view call_word_;  // the word before the "(" just met
  std::string_view package_;    // the word before the ".", for Via::kPackage
  // The function whose body is read, and the one declared before its body.
  std::string_view function_;
  std::string_view pending_function_;
  size_t line_ = 0;  // of the word or literal being read
  size_t state_record_ = 0;
  size_t key_line_ = 0;  // the last line whose key is read
  size_t super_class_ = SIZE_MAX;
  Qualifier last_;       // what the last token gives a "."
  Qualifier dotted_;     // what the "." just met applies to
  int depth_ = 0;        // of braces
  int parens_ = 0;       // parentheses open in the statement
  int angles_ = 0;       // "<" open in a declaration's type
  int body_depth_ = 0;   // depth of the function body's code; 0: none
  int state_depth_ = 0;  // of the state body's; 0: none
  int enum_depth_ = 0;
  int defaults_depth_ = 0;
  int skip_depth_ = 0;  // a block of another language: nothing links
  int objects_ = 0;     // "Begin Object" groups open in default properties
  Decl decl_ = Decl::kNone;
  bool named_ = false;          // the declaration's name is met
  bool after_extends_ = false;  // in a declaration, after extends, expands or within
  bool params_ = false;         // reading a function's parameter list
  bool params_done_ = false;
  bool param_default_ = false;  // after "=" in a parameter
  bool enum_name_pending_ = false;
  bool enum_brace_pending_ = false;
  bool defaults_pending_ = false;
  bool skip_pending_ = false;
  bool class_angle_ = false;  // "class<": a class name follows
  bool super_paren_ = false;  // "Super(": a class name follows
  bool operator_ = false;     // the last word was operator, preoperator or postoperator
  bool word_before_ = false;  // the last token was a word or a symbol
  bool after_dot_ = false;
  bool super_call_ = false;  // the member opened is a Super call's
};
