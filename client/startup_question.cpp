// The yes-or-no questions of the client's start-up, which closing the window or a termination signal ends.
#include "client/startup_question.h"

#include "client/game_session.h"
#include "client/line_editor.h"
#include "platform/input.h"
#include "platform/termination.h"

namespace {

constexpr int QuestionX = 140, QuestionY = 0;

bool WindowClosed = false;

// The close request is taken once; it is kept here until the question has given up.
bool CloseRequested() {
  if (AppTerminate()) WindowClosed = true;
  return WindowClosed;
}

}  // namespace

bool AskStartUpQuestion(const std::string& prompt) {
  const std::string answer = InputLine(prompt, QuestionX, QuestionY, 1, CloseRequested);
  if (WindowClosed || QuitSignalled()) ExitProgram();
  return AnswerIsYes(answer);
}
