#pragma once

#include <QString>
#include <QStringList>

// The Markdown markers that must never reach the screen, found in a text as it is displayed
// (the plain text a person reads). Pure. A marker is one of:
//   heading   1 to 6 "#" and a blank at the start of a line (after up to three blanks), or
//             2 to 6 "#" and a blank anywhere (a heading whose line breaks were lost)
//   strong    "**" or "__" anywhere
//   emphasis  "*word*" or "_word_": a "*" (or "_") that no letter, digit or other such mark
//             touches on its outer side, then text of one line that neither starts nor ends
//             with a blank, then the same mark again
//   code      a backquote "`" anywhere (a fence "```" too), or "~~~" at the start of a line
//   image     "![" anywhere
//   link      "](" anywhere
//   quote     "> " at the start of a line
//   bullet    "* " or "+ " at the start of a line ("- " is ordinary punctuation in plain
//             sentences and is left alone)
class MarkdownMarkers
{
public:
    // Each marker found, as "kind \"excerpt\"", in the order of the kinds above; empty when
    // the text is clean.
    static QStringList in(const QString& displayed);
};
