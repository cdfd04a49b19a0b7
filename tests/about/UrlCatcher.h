// Takes the URLs that the program hands to the desktop, so that tests see
// them instead of a browser or mail program opening.
#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QStringList>
#include <QUrl>

class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    explicit TUrlCatcher(const QStringList& schemes) : Schemes(schemes)
    {
        for (const QString& scheme : Schemes)
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~TUrlCatcher() override
    {
        for (const QString& scheme : Schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> Opened;

public slots:
    void Open(const QUrl& url) { Opened.append(url); }

private:
    QStringList Schemes;
};
