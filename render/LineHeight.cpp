// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/LineHeight.h"

#include <QLabel>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

// QLabel has no line-height property, but it lays out rich text with QTextDocument, which honours
// a proportional line height per block. The label's text is therefore turned into a document
// whose blocks carry the height, and handed back as HTML.
void applyLineHeight(QLabel* label)
{
    if (!label || label->text().isEmpty())
        return;
    QTextDocument document;
    document.setDefaultFont(label->font());
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
    if (rich)
        document.setHtml(label->text());
    else
        document.setPlainText(label->text());

    const Qt::Alignment horizontal = label->alignment() & Qt::AlignHorizontal_Mask;
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        cursor.setPosition(block.position());
        QTextBlockFormat format = block.blockFormat();
        format.setLineHeight(LINE_H_MULT * 100, QTextBlockFormat::ProportionalHeight);
        format.setAlignment(horizontal);
        cursor.setBlockFormat(format);
    }
    label->setTextFormat(Qt::RichText);
    label->setText(document.toHtml());
}

void applyLineHeightToLabels(QWidget* root)
{
    if (!root)
        return;
    for (QObject* child : root->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget)
            continue;
        auto* label = qobject_cast<QLabel*>(widget);
        if (label && !(label->textInteractionFlags() & Qt::TextEditable))
            applyLineHeight(label);
        applyLineHeightToLabels(widget);
    }
}
