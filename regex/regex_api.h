// The interface of our two regular expression libraries (bregonig.dll: UTF-16, bregexp.dll: ANSI),
// which the renamer loads by name at run time and calls through these types.
#pragma once

namespace korval {

// The message buffer passed to a substitution holds at least this many characters (bytes for the
// ANSI library), the terminating zero included.
inline constexpr int kRegexMessageSize = 80;

// The message of a substitution whose matching used up its fixed budget (a pattern whose nested
// repeats could try a name in very many ways): the name is left as it was.
inline constexpr const wchar_t* kRegexCutOffMessage = L"正規表現の誤り: パターンが複雑すぎて照合を打ち切りました";

// The result record of a substitution. The library allocates it on the first call with a null
// handle, reuses it on later calls with the same handle and releases it in the free call.
// result: the zero-terminated result text, or null when nothing was replaced (no match, or an
// error, which the message buffer then describes). It stays valid until the next call with this
// record or its release.
struct RegexRecordW {
  wchar_t* result;     // the result text, or null: nothing was replaced
  wchar_t* resultEnd;  // the terminating zero of result (null with result)
  int replaced;        // matches replaced by the last call; -1 after an error
  int reserved;        // zero
};

struct RegexRecordA {
  char* result;     // the result text in the ANSI code page, or null: nothing was replaced
  char* resultEnd;  // the terminating zero of result (null with result)
  int replaced;     // matches replaced by the last call; -1 after an error
  int reserved;     // zero
};

// command: "s/PATTERN/REPLACEMENT/OPTIONS", zero-terminated. textStart..textEnd: the text, the end
// excluded. handle: the address of the caller's record pointer (null before the first call).
// message: a buffer of kRegexMessageSize characters; empty after success.
// Returns the number of replacements (0: no match), or -1 after an error.
using BSubstWProc = int (*)(const wchar_t* command, wchar_t* textStart, wchar_t* textEnd,
                            RegexRecordW** handle, wchar_t* message);
using BRegfreeWProc = void (*)(RegexRecordW* record);

using BSubstProc = int (*)(const char* command, char* textStart, char* textEnd, RegexRecordA** handle,
                           char* message);
using BRegfreeProc = void (*)(RegexRecordA* record);

}  // namespace korval
