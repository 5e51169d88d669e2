#pragma once

#include "calling/WaveClip.h"

#include <QString>
#include <QStringList>

/// Finds voice clips by name: NAME.wav in a folder, by default the clips built
/// into the program (":/voice/"). Every look-up reads the clip afresh.
class ClipLibrary
{
public:
    explicit ClipLibrary(QString folder = QStringLiteral(":/voice/"));

    const QString &folder() const { return m_folder; }

    /// The WAVE image of a clip. Throws StationError "Resource NAME not found"
    /// when there is no clip of that name.
    QByteArray image(const QString &name) const;
    /// The clip, read and checked (see WaveClip::parse).
    WaveClip clip(const QString &name) const;

    /// Every clip the station carries, in the order installers list them:
    /// TALABIA, FA0..FA100, FA200..FA900, WA, WAJBA.
    static QStringList names();

private:
    QString m_folder;
};
