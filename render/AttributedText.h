// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

class QLabel;
class QTextDocument;

// A styled text: runs of text, each with its font, colour and underline, set as paragraphs with
// one alignment and line-height multiple. A "\n" inside a run starts a new paragraph.
struct TextRun
{
    QString text;
    QFont font;
    QColor color;
    bool underline = false;
};

struct AttributedText
{
    QList<TextRun> runs;
    Qt::Alignment alignment = Qt::AlignLeft;
    double lineHeight = 1.0; // multiple of each line's natural height

    static AttributedText plain(const QString& text, const QFont& font, const QColor& color);

    QString plainText() const;
    bool isEmpty() const { return plainText().isEmpty(); }

    // Fills `document` (margins removed) with the runs and paragraph style.
    void fillDocument(QTextDocument& document) const;
    // The text as HTML for a rich-text QLabel.
    QString toHtml() const;
};

// Shows `text` in `label` as rich text, keeping the label's own alignment out of the way.
void setAttributedText(QLabel* label, const AttributedText& text);
