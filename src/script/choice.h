#pragma once
// The choice dialog that scripts open (frmS): a question and up to three answers. The
// dialog's texts live in the game state's screen text; the front end shows them.

namespace morvath {

// Shows the question and options of modVarsAndMain.screen modally (an empty third option is
// hidden) and returns ChoiceResult: 0, 1 or 2 for the option taken, 11 when skipped. A
// dialog closed any other way counts as skipped, never as the previous answer.
int ShowChoiceDialog();

}  // namespace morvath
