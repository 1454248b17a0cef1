// A program run as a child of this one, without a window, its standard
// input on the null device (NUL, /dev/null) so that a question it might ask
// ends at once instead of waiting for an answer nobody can give; its output
// and errors on the null device too, or where this program's go. It is
// waited for, for a time or for as long as it runs.
//
// Plain character arrays, so that a program without the C++ library
// (vorlinde-agenda-task.exe) can use it.
#pragma once

#if defined(_WIN32)
// Windows passes a program one command line, which CreateProcessW may write
// in: the program's name, quoted, then its arguments as it is to read them.
typedef const wchar_t* ChildProgram;
typedef wchar_t* ChildArguments;
#else
// Elsewhere a program gets its arguments one by one, its name first, and a
// null after the last.
typedef const char* ChildProgram;
typedef char* const* ChildArguments;
#endif

struct ChildOptions {
  bool keepOutput;                 // output and errors go where this program's go
                                   // (the null device where it has none)
  unsigned long mostMilliseconds;  // stopped after this long; 0: never
  bool endsWithUs;                 // stopped when this program ends
};

struct ChildRun {
  enum Outcome {
    kFinished,    // `code` is its exit status
    kNotStarted,  // `code` is the system's error
    kTimedOut,    // it ran for mostMilliseconds and was stopped
  } outcome;
  unsigned long code;
};

ChildRun RunChild(ChildProgram program, ChildArguments arguments, const ChildOptions& options);
