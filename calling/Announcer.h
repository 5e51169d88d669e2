#pragma once

#include "calling/AudioSink.h"
#include "calling/ClipLibrary.h"

#include <QObject>
#include <QStringList>
#include <memory>

/// Calls order numbers out loud: looks up the clips of the number's
/// announcement one after another and plays them back to back in one stream.
class Announcer : public QObject
{
    Q_OBJECT

public:
    /// Plays the built-in clips on the ALSA device named in station.ini of the
    /// working directory ("default" when it names none).
    explicit Announcer(QObject *parent = nullptr);
    Announcer(std::unique_ptr<AudioSink> sink, ClipLibrary clips, QObject *parent = nullptr);
    ~Announcer() override;

    /// Calls number out and returns when its last sample has been played.
    /// Throws StationError, before any sound, for a negative number; throws it
    /// for a clip that is missing ("Resource NAME not found") or damaged, after
    /// the clips before it have been played. Without a sound device the
    /// announcement is skipped (see soundUnavailable()).
    void appel(int number);

    /// Plays the named clips back to back, as appel() does.
    void play(const QStringList &clipNames);

    AudioSink &sink() const { return *m_sink; }
    const ClipLibrary &clips() const { return m_clips; }

Q_SIGNALS:
    /// Emitted the first time no sound device could be opened, with the reason;
    /// that and every later announcement without a device are skipped silently.
    void soundUnavailable(const QString &reason);

private:
    std::unique_ptr<AudioSink> m_sink;
    ClipLibrary m_clips;
    bool m_unavailableReported = false;
};
