// Serves one picture on the X clipboard (the CLIPBOARD selection) as "image/png" and "image/bmp",
// through xcb alone so that both the program and its small clipboard keeper use it. The caller
// owns the connection and runs the event loop: it hands every event to dispatchPending().
// A request for a format whose bytes are not there yet is held and answered when they come;
// large answers go out in pieces (the X incremental transfer, INCR). Several formats asked at once
// (MULTIPLE, as clipboard managers ask) are answered together when all of them are written.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include <xcb/xcb.h>

// The bytes of one format, kept alive by `owner` while any transfer still sends them.
struct SelectionBytes {
    std::shared_ptr<const void> owner;
    std::span<const uint8_t> bytes;

    bool ready() const { return owner != nullptr; }
    static SelectionBytes of(std::vector<uint8_t> bytes);
};

class ImageSelectionServer {
public:
    enum class Format { Png, Bmp };
    enum class Handover { Saved, NoManager, NoAnswer };

    // Makes an unmapped input-only window on `connection`, which must outlive the server.
    explicit ImageSelectionServer(xcb_connection_t* connection);
    ~ImageSelectionServer();
    ImageSelectionServer(const ImageSelectionServer&) = delete;
    ImageSelectionServer& operator=(const ImageSelectionServer&) = delete;

    // Takes the clipboard for a new picture; its bytes come through setBytes(). False when the
    // X server did not give it.
    bool own();
    bool owns() const { return owned_; }
    // Stores the bytes of `format` for the picture owned now and answers the requests waiting for them.
    void setBytes(Format format, SelectionBytes bytes);
    // Answers the requests waiting for `format` without keeping the bytes: the next request asks
    // again. Bytes that are not ready refuse them.
    void answerWaiting(Format format, const SelectionBytes& bytes);
    const SelectionBytes& bytes(Format format) const { return stored_[index(format)]; }

    // Called when a program asks for BMP bytes that are not there and not yet asked for.
    std::function<void()> onBmpWanted;
    // Called when another client takes the clipboard, or the keeper's mark (see below).
    std::function<void()> onLost;

    // One keeper per display: a keeper holds the mark; taking it from a keeper ends that keeper.
    bool holdKeeperMark();

    // Offers the picture to the clipboard manager, if one runs, with the clipboard-manager
    // protocol (SAVE_TARGETS) and serves its requests until it answers or `limit` has passed.
    // Both formats must be stored.
    Handover handOverToManager(std::chrono::milliseconds limit);

    // Handles every event already received; false once the connection has failed.
    bool dispatchPending();
    // Waits up to `timeoutMs` (-1: for ever) for events or for `alsoWakeOn` to become readable,
    // then handles the events; false once the connection has failed.
    bool waitAndDispatch(int timeoutMs, int alsoWakeOn = -1);
    int fileDescriptor() const;

private:
    struct Request {
        xcb_window_t requestor;
        xcb_atom_t property;
        xcb_atom_t target;
        xcb_atom_t selection;
        xcb_timestamp_t time;
        // For one pair of a MULTIPLE request: that request's number and the pair's place in its list.
        uint64_t multiple = 0;
        size_t pair = 0;
    };
    // A MULTIPLE request: its (target, property) list, where a refused pair's property becomes
    // None, and how many pairs still wait for their bytes.
    struct MultipleRequest {
        uint64_t number;
        Request request;
        std::vector<xcb_atom_t> pairs;
        size_t open = 0;
    };
    enum class Answer { Written, Refused, Waiting };
    struct Transfer {
        xcb_window_t requestor;
        xcb_atom_t property;
        xcb_atom_t target;
        SelectionBytes data;
        size_t sent = 0;
        std::chrono::steady_clock::time_point lastStep;
    };

    static size_t index(Format format) { return format == Format::Png ? 0 : 1; }
    xcb_atom_t atom(const char* name) const;
    xcb_timestamp_t serverTime();
    void handle(const xcb_generic_event_t* event);
    void handleRequest(const xcb_selection_request_event_t& event);
    void handleMultiple(const Request& request);
    Answer write(const Request& request);
    void writeBytes(const Request& request, const SelectionBytes& data);
    void askForWantedBmp();
    void pairAnswered(const Request& pair, bool written);
    void finishMultiple(const MultipleRequest& multiple);
    void handlePropertyDeleted(xcb_window_t window, xcb_atom_t property);
    void notify(const Request& request, xcb_atom_t property);
    void dropStalledTransfers();
    bool setSelectionOwner(xcb_atom_t selection, xcb_window_t owner, xcb_timestamp_t time);

    xcb_connection_t* connection_;
    xcb_window_t window_ = 0;
    size_t chunkBytes_ = 0;
    xcb_atom_t clipboard_, targets_, timestamp_, multiple_, atomPair_, incr_, png_, bmp_, atomType_, integer_;
    xcb_atom_t manager_, saveTargets_, saveProperty_, keeperMark_, timeProperty_;
    bool owned_ = false;
    bool holdsMark_ = false;
    xcb_timestamp_t ownedSince_ = XCB_CURRENT_TIME;
    SelectionBytes stored_[2];
    bool bmpAsked_ = false;
    std::vector<Request> waiting_;
    std::vector<MultipleRequest> multiples_;
    uint64_t lastMultiple_ = 0;
    std::vector<Transfer> transfers_;
    // The manager's answer to SAVE_TARGETS: 0 none yet, 1 saved, -1 refused.
    int managerAnswer_ = 0;
};
