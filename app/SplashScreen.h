#pragma once

#include <QImage>
#include <chrono>
#include <memory>

class QWidget;

/// The start-up splash: a picture with per-pixel transparency shown as a
/// borderless window of the picture's size, centred on the desktop. Only its
/// opaque and half-transparent pixels are seen.
///
/// The window is handed its whole content once, premultiplied, and keeps it:
/// after Show() it stays drawn while the caller blocks the thread.
class TSplash
{
public:
    /// Create: an empty image and a new hidden window without owner.
    TSplash();
    /// Create(Image): as above, then FImage becomes a copy of Image; the caller
    /// may drop its own image at once.
    explicit TSplash(const QImage &Image);
    /// Destroy: frees the window, then the image.
    ~TSplash();
    TSplash(const TSplash &) = delete;
    TSplash &operator=(const TSplash &) = delete;

    static std::unique_ptr<TSplash> Create() { return std::make_unique<TSplash>(); }
    static std::unique_ptr<TSplash> Create(const QImage &Image) { return std::make_unique<TSplash>(Image); }

    const QImage &Image() const { return FImage; }
    /// Copies Image into FImage.
    void setImage(const QImage &Image);

    /// Sizes the window to the image, centres it on the desktop, keeps it above
    /// other windows when StayOnTop, and shows it. Returns once the window is
    /// on screen and drawn. An empty image shows nothing.
    void Show(bool StayOnTop);
    /// Hides the window; the object, its window and its image live on.
    void Close();

    /// The splash window (hidden until Show).
    QWidget *form() const { return SplashForm.get(); }

    /// The built-in "LOGO" picture.
    static QImage logo();
    /// What the main window does at start-up: "LOGO" shown on top for duration,
    /// with the thread blocked meanwhile, then closed. Returns the splash object,
    /// which the caller keeps.
    static std::unique_ptr<TSplash> showStartup(std::chrono::milliseconds duration);

private:
    void ApplyLayeredImage();

    QImage FImage;
    std::unique_ptr<QWidget> SplashForm;
};
