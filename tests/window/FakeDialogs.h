// Dialogs that answer at once and remember what they were asked, so that a
// test drives the window without ever waiting on a modal box.
#pragma once

#include "shell/UserDialogs.h"

#include <QStringList>

#include <ostream>
#include <vector>

// Test failures print texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

struct TShownMessage {
    QString Caption;
    QString Text;
    QMessageBox::Icon Icon;
};

class TFakeDialogs : public TUserDialogs {
public:
    std::vector<TShownMessage> Messages;
    std::optional<QColor> ColorAnswer;
    std::optional<QString> SaveAnswer;
    // The filter the user picks; the one offered when none.
    std::optional<qsizetype> FilterAnswer;
    QStringList SuggestedNames;
    QStringList OfferedFilters;

    void ShowMessage(QWidget*, const QString& caption, const QString& text, QMessageBox::Icon icon) override
    {
        Messages.push_back({caption, text, icon});
    }
    std::optional<QColor> ChooseColor(QWidget*, const QColor&) override { return ColorAnswer; }
    std::optional<TSaveChoice> ChooseSaveFileName(QWidget*, const QStringList& filters, const QString& suggested,
                                                  qsizetype suggestedFilter) override
    {
        SuggestedNames << suggested;
        OfferedFilters = filters;
        if (!SaveAnswer)
            return std::nullopt;
        return TSaveChoice{*SaveAnswer, FilterAnswer.value_or(suggestedFilter)};
    }
};
