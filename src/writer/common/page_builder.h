// What a kind of page is to the page writer: a numbered set of pages, each
// built into a buffer on request, in an order of writing that is also the
// order in which problems are reported. The record pages, plain or linked,
// are page builders; the page writer does the rest for every kind.
#pragma once

#include <cstddef>
#include <string>

#include "model/class_record.h"

class CPageBuilder {
 public:
  /// Receives the slots of the pages one by one.
  class CVisitor {
   public:
    virtual void Visit(size_t slot) = 0;

   protected:
    ~CVisitor() = default;
  };

  virtual ~CPageBuilder() = default;

  /// Every page has a slot below this number, and no two share one.
  virtual size_t SlotCount() const = 0;

  /// Gives `visitor` the slot of every page, in the order of writing. Needs
  /// no memory, so it can be called when memory has run out.
  virtual void VisitPages(CVisitor& visitor) const = 0;

  /// Appends the bytes of the page in `slot` to `page`; std::bad_alloc when
  /// memory runs out. Called from two threads at once, for different slots.
  /// False when the page is built but lacks what it shows (a script that
  /// could not be read again): it is written, and ReportIncomplete reports
  /// it in its turn.
  virtual bool AppendPage(size_t slot, std::string& page) const = 0;

  /// Whether the page in `slot` was written before the page writer started,
  /// and how that went: it is not written again, only reported in its turn.
  virtual bool WrittenAhead(size_t /*slot*/, PageStatus& /*status*/) const { return false; }

  /// Reports on the console what the page in `slot` lacks.
  virtual void ReportIncomplete(size_t /*slot*/) const {}

  /// Appends the path of the page in `slot` to `path`, in at most
  /// PathRoom() bytes.
  virtual void AppendPath(size_t slot, std::string& path) const = 0;
  virtual size_t PathRoom() const = 0;
};
