// Work that a run does on a thread of its own while its pages are written:
// the page writers start it once what it reads is built, and the run waits
// for it and reports on it in its own turn afterwards.
#pragma once

class CReferences;

class CBesidePages {
 public:
  /// Starts the work; it reads only what the pages read: with the pages of
  /// references, `references` (else null).
  virtual void Start(const CReferences* references) = 0;

 protected:
  ~CBesidePages() = default;
};
