#pragma once

#include <QObject>

// Whether the live sun picture's feed works, for the face's "NASA" pill: each refresh of the picture
// says so (a fresh stored copy, or a download that decodes as a picture), and a failed request or bytes
// that are not a picture say otherwise. Nothing has worked before the first refresh ends. GUI thread only.
class SunPictureFeed : public QObject {
    Q_OBJECT

  public:
    static SunPictureFeed& shared();

    bool worked() const { return worked_; }
    void setWorked(bool worked);

  signals:
    void workedChanged();

  private:
    SunPictureFeed() = default;
    bool worked_ = false;
};
