#pragma once

// Input given to the X server as another program gives it, through the X test extension, on
// a connection of its own (any thread). Kept apart: the X headers' macros clash with Qt's.
class XTestInput {
  public:
    XTestInput();
    ~XTestInput();
    XTestInput(const XTestInput&) = delete;
    XTestInput& operator=(const XTestInput&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    void MoveTo(int x, int y);
    void LeftButton(bool down);

  private:
    void* m_display = nullptr;
};
