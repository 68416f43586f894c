#pragma once

#include <QString>

// How a release's notes are shown: as Markdown when they look like Markdown (a heading, a
// list, a quote, a code fence, emphasis, inline code or a link), else as plain text. Pure.
class ReleaseNotesText
{
public:
    static bool looksLikeMarkdown(const QString& notes);
};
