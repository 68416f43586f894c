#pragma once

#include <QString>

// How a release's notes are shown: always as plain text. Notes that look like Markdown (a
// heading, a list, a quote, a code fence, emphasis, inline code or a link) are shown with
// their marks taken out: the words and the line breaks stay, a list item keeps a bullet,
// a link or an image keeps its text and loses its address. Nothing of the notes is ever
// fetched or followed. Notes longer than kMaxShownLength are cut there, at a line's end where
// one is near, with a sentence saying so: longer ones would hold up the window while they
// are laid out. Pure.
class ReleaseNotesText
{
public:
    static constexpr int kMaxShownLength = 64 * 1024; // characters

    static bool looksLikeMarkdown(const QString& notes);
    // The notes as they are shown.
    static QString shown(const QString& notes);
    // The notes cut to kMaxShownLength with the sentence, or as they are when not longer.
    static QString cut(const QString& notes);
    // Markdown's marks taken out of the notes.
    static QString withoutMarks(const QString& notes);
};
