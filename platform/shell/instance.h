// Single instance across processes: the first copy of the program answers, over its
// rendezvous socket, what later copies ask about its windows.
#pragma once

#include <string>

namespace shell {

// Becomes the running copy (answering from the message loop's idle time), or, when
// another copy runs, routes this process's questions about foreign windows to it.
void JoinRunningCopies(const std::string& program);
// Answers waiting questions now and has the loop wake for the next ones (the idle hook).
void AnswerOtherCopies();

}  // namespace shell
