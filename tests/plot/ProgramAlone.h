// orvalis-plot copied alone into a folder of its own: a run that needed the
// painter module would fail with "Cannot load the drawing module", so the
// outputs that must not need it are made without it.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class ProgramAlone : public testing::Test {
protected:
    QTemporaryDir Folder;
    QString Alone;

    void SetUp() override
    {
        Alone = Folder.filePath(QStringLiteral("alone"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVALIS_PLOT_PATH), Alone));
    }
};
