// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/AttributedText.h"

#include <QLabel>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

AttributedText AttributedText::plain(const QString& text, const QFont& font, const QColor& color)
{
    AttributedText result;
    result.runs.append(TextRun{text, font, color});
    return result;
}

QString AttributedText::plainText() const
{
    QString text;
    for (const TextRun& run : runs)
        text += run.text;
    return text;
}

void AttributedText::fillDocument(QTextDocument& document) const
{
    document.clear();
    document.setDocumentMargin(0);
    if (!runs.isEmpty())
        document.setDefaultFont(runs.first().font);
    QTextCursor cursor(&document);
    for (const TextRun& run : runs) {
        QTextCharFormat format;
        format.setFont(run.font);
        format.setForeground(run.color);
        format.setFontUnderline(run.underline);
        cursor.insertText(run.text, format);
    }
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextCursor blockCursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setAlignment(alignment & Qt::AlignHorizontal_Mask);
        if (lineHeight > 0 && lineHeight != 1.0)
            format.setLineHeight(lineHeight * 100, QTextBlockFormat::ProportionalHeight);
        blockCursor.setBlockFormat(format);
    }
}

QString AttributedText::toHtml() const
{
    QTextDocument document;
    fillDocument(document);
    return document.toHtml();
}

void setAttributedText(QLabel* label, const AttributedText& text)
{
    if (!label)
        return;
    label->setTextFormat(Qt::RichText);
    label->setText(text.toHtml());
}
