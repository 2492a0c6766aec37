// The reader of the whole script language: the class statement with its
// superclass, outer class and modifiers; constants, enumerations, structures,
// variables, every function-like declaration with or without a body, states
// with their ignored functions, and default properties; each with its line
// and its documentation comment. What it cannot make sense of it passes over.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "model/record_model.h"
#include "reader/doc_comment.h"
#include "reader/script_lexer.h"
#include "reader/script_reader.h"

/// A new complete reader; null when it cannot be had.
std::unique_ptr<CScriptReader> MakeCompleteReader();

namespace reader {

class CCompleteParser {
 public:
  /// Reads `text` whole; what it finds refers into `text` and into room the
  /// parser keeps until the next Read. False when memory ran short.
  bool Read(std::string_view text);

  /// The records read: the class, then its states in the order they were
  /// declared; none when the last Read failed.
  size_t Count() const { return count_; }
  const model::RecordModel& Record(size_t i) const { return records_[i]; }

 private:
  using RecordModel = model::RecordModel;

  // The comments right before a statement, and the line the statement
  // starts on.
  struct Lead {
    CommentRun comments;
    uint32_t line = 0;
  };

  void Advance() { token_ = lexer_.Next(); }
  void ParseScope(RecordModel& record, bool inState, int depth);
  void ParseClass(RecordModel& record, const Lead& lead);
  void ParseConstant(RecordModel& record, const Lead& lead);
  // An enumeration or structure, also one declared inside a variable's
  // declaration; returns its name's token.
  Token ParseEnum(RecordModel& record, const Lead& lead, bool inDeclaration);
  Token ParseStruct(RecordModel& record, const Lead& lead, bool inDeclaration, int depth);
  void ParseVariable(RecordModel& record, const Lead& lead, uint32_t structure, int depth);
  void ParseIgnores(RecordModel& record);
  void ParseDefaults(RecordModel& record);
  void ParseStatement(RecordModel& record, const Lead& lead, bool inState, int depth);
  // A function-like declaration whose head tokens start at `head`, its kind
  // keyword at `kindAt`; the current token is the ";" or "{" after them.
  void ParseFunction(RecordModel& record, const Lead& lead, size_t head, size_t kindAt,
                     model::FunctionKind kind);
  void ParseState(const Lead& lead, size_t head, size_t stateAt, int depth);

  // Collects tokens from the current one up to a ";", "{" or "}" (not
  // taken) onto the head stack; returns where they start.
  size_t CollectHead();
  // Passes over the block whose "{" is the current token; returns the end of
  // its "}".
  const char* SkipBlock();
  // Keeps the words or parenthesised groups among head tokens [from, to).
  model::Words Modifiers(RecordModel& record, size_t from, size_t to);
  std::string_view Slice(size_t from, size_t to) const;

  // The comments before the statement that starts at the current token.
  Lead SaveLeadingComments() const { return {lexer_.CommentsBefore(), token_.line}; }
  // The documentation of a declaration that ends at `end` (null to look
  // only before it).
  model::OptionalText Documentation(const Lead& lead, const char* end);

  CScriptLexer lexer_;
  CDocArena docs_;
  Token token_;
  std::vector<Token> head_;
  // A deque, so that the class stays where it is while states are added.
  std::deque<RecordModel> records_;
  size_t count_ = 0;
  bool class_seen_ = false;
};

}  // namespace reader
