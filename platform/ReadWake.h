#pragma once

// A signal that ends the reads of one thread early. The line's thread listens to it while a
// presence poll waits for an answer; the window raises it when the user wants the line, so
// the poll gives way at once instead of at the end of its read.
class ReadWake {
  public:
    ReadWake();
    ~ReadWake();
    ReadWake(const ReadWake&) = delete;
    ReadWake& operator=(const ReadWake&) = delete;

    // Any thread.
    void Raise();
    void Clear();
    // The descriptor a read's poll watches; -1 where the system gave none.
    int Descriptor() const { return m_fd; }

  private:
    int m_fd;
};

// While an instance lives, the reads of this thread that wait on a descriptor also end,
// reporting nothing, as soon as `wake` is raised.
class ListenForWake {
  public:
    explicit ListenForWake(const ReadWake* wake);
    ~ListenForWake();
    ListenForWake(const ListenForWake&) = delete;
    ListenForWake& operator=(const ListenForWake&) = delete;

  private:
    int m_previous;
};

// The wake descriptor the reads of this thread listen to, -1 for none.
int ListenedWakeDescriptor();
