// A hyperlink: underlined text that opens its address through the desktop's
// default handler when clicked, and is drawn as visited afterwards.
#pragma once

#include <QLabel>
#include <functional>
#include <string>

namespace platform {

// Opens an address with the desktop's default handler. Replaceable so tests can
// see what would be opened; an empty handler restores the desktop's.
bool OpenUrl(const std::string& address);
using UrlOpener = std::function<bool(const std::string&)>;
UrlOpener setUrlOpener(UrlOpener opener);

class LinkControl : public QLabel {
    Q_OBJECT
  public:
    LinkControl(const QString& text, const QString& address, QWidget* parent = nullptr);

    const QString& address() const { return m_address; }
    bool visited() const { return m_visited; }
    // What a click does.
    void open();

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void style();

    QString m_address;
    bool m_visited = false;
};

}  // namespace platform
