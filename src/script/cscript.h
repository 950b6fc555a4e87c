#pragma once
// One run of a script: the text goes into Script, ScriptExecute runs it to the end.
// A new object for every run.
//
// The language is line oriented and deliberately odd in places (if blocks do not nest, an
// executed "end" re-tests the innermost while, a word ends two characters before the
// operator that follows it, a trailing blank loses the last word...). The game's scripts are
// written against exactly these rules, so they are kept as they are; see the script tests.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/variant.h"
#include "world/dungeon.h"
#include "world/houses.h"

namespace morvath {

class Cscript {
public:
    std::wstring Script;
    // Set by the command skip(): every later command of this run does nothing and yields
    // empty, while assignments and conditions still run.
    bool Stopped = false;
    // Trace hook: called for every non-empty line before it is examined, with the 0-based
    // line index and the raw line (comment included).
    std::function<void(int line, std::wstring_view contents)> LineChange;
    // What this run's genhouse and gendungeon asked for last.
    HouseSpec HouseParams;
    DungeonSpec DungeonParams;

    // Runs Script from its first line to its last. An error of the evaluator (an unclosed
    // parenthesis or literal, a zero divisor, an overflow), too many lines taken, or too
    // deep a nesting of runs ends the run quietly; the caller goes on.
    void ScriptExecute();

    // The language's operations, used by the line loop and the commands.
    void SetVar(std::wstring_view name, Variant value);
    // Empty when the name is not declared.
    const Variant& GetVar(std::wstring_view name) const;
    bool EvalCondition(std::wstring_view text);
    Variant EvalExpression(std::wstring_view text);
    Variant EvalArith(std::wstring_view text);
    Variant CallCommand(std::wstring_view text);
    // The command dispatcher: `name` as the script wrote it, arguments already evaluated.
    Variant ExecCommand(std::wstring_view name, const std::vector<std::wstring>& args);

private:
    void DeclareVars(std::wstring_view list);

    std::vector<std::wstring> VarNames;
    std::vector<Variant> VarValues;
    std::vector<std::wstring> args_;  // reused by CallCommand: no allocation per call
    std::wstring exprBuffer_;         // reused by EvalExpression for parenthesised text
    std::size_t heldChars_ = 0;       // the text the variables hold together
    // The text the run may still read and make. A loop that copies a growing text does
    // work that grows with the square of its rounds: this bounds its time, as the line
    // budget cannot.
    std::size_t textLeft_ = std::size_t{16} << 20;
    void ChargeText(std::size_t chars);
};

// Reads \scripts\<file> whole and runs it in a new Cscript as nobody's script (item, place
// and start scripts have no speaking character). A missing or unreadable file does nothing.
// Returns false when the file could not be read.
bool RunScriptFile(const std::wstring& file);

// True when a script may start another run from inside this one (exe, died): the nesting
// is not too deep and the outermost run has lines left. Charges the start of the nested run
// against those lines, as reading and starting a script costs far more than one line.
bool MayStartNestedRun();

// Runs `body` with the speaking character set to none, then puts the previous one back:
// scripts that no character owns must not act for whichever character spoke last.
void RunWithoutSpeaker(const std::function<void()>& body);

}  // namespace morvath
