#include "platform/x11/ImageSelectionServer.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include <poll.h>

namespace {

constexpr size_t kLargestChunk = size_t{256} << 10;
// A requestor that stops taking pieces of an incremental transfer is given up after this.
constexpr auto kStalledTransfer = std::chrono::seconds(10);
// The most (target, property) pairs one MULTIPLE request is read for; a longer list is refused.
constexpr uint32_t kMostPairs = 256;

} // namespace

SelectionBytes SelectionBytes::of(std::vector<uint8_t> bytes)
{
    auto owned = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    return {owned, std::span<const uint8_t>(owned->data(), owned->size())};
}

ImageSelectionServer::ImageSelectionServer(xcb_connection_t* connection) : connection_(connection)
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    // Room for the request header and the property's description.
    const size_t maxRequest = size_t{xcb_get_maximum_request_length(connection_)} * 4;
    chunkBytes_ = std::min(kLargestChunk, maxRequest - 64);
    clipboard_ = atom("CLIPBOARD");
    targets_ = atom("TARGETS");
    timestamp_ = atom("TIMESTAMP");
    multiple_ = atom("MULTIPLE");
    atomPair_ = atom("ATOM_PAIR");
    incr_ = atom("INCR");
    png_ = atom("image/png");
    bmp_ = atom("image/bmp");
    atomType_ = XCB_ATOM_ATOM;
    integer_ = XCB_ATOM_INTEGER;
    manager_ = atom("CLIPBOARD_MANAGER");
    saveTargets_ = atom("SAVE_TARGETS");
    saveProperty_ = atom("_ZENTRAP_SAVE_TARGETS");
    keeperMark_ = atom("_ZENTRAP_CLIPBOARD_KEEPER");
    timeProperty_ = atom("_ZENTRAP_TIME");
}

ImageSelectionServer::~ImageSelectionServer()
{
    xcb_destroy_window(connection_, window_);
    xcb_flush(connection_);
}

xcb_atom_t ImageSelectionServer::atom(const char* name) const
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

// The server's time now: a property change on the window reports it.
xcb_timestamp_t ImageSelectionServer::serverTime()
{
    xcb_change_property(connection_, XCB_PROP_MODE_APPEND, window_, timeProperty_, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(connection_);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY && property->window == window_ &&
            property->atom == timeProperty_) {
            const xcb_timestamp_t time = property->time;
            std::free(event);
            return time;
        }
        handle(event);
        std::free(event);
    }
    return XCB_CURRENT_TIME;
}

bool ImageSelectionServer::setSelectionOwner(xcb_atom_t selection, xcb_window_t owner, xcb_timestamp_t time)
{
    xcb_set_selection_owner(connection_, owner, selection, time);
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, selection), nullptr);
    const bool result = reply != nullptr && reply->owner == owner;
    std::free(reply);
    return result;
}

bool ImageSelectionServer::own()
{
    stored_[0] = {};
    stored_[1] = {};
    bmpAsked_ = false;
    ownedSince_ = serverTime();
    owned_ = setSelectionOwner(clipboard_, window_, ownedSince_);
    xcb_flush(connection_);
    return owned_;
}

void ImageSelectionServer::setBytes(Format format, SelectionBytes bytes)
{
    stored_[index(format)] = std::move(bytes);
    answerWaiting(format, stored_[index(format)]);
}

void ImageSelectionServer::answerWaiting(Format format, const SelectionBytes& bytes)
{
    const xcb_atom_t target = format == Format::Png ? png_ : bmp_;
    if (format == Format::Bmp) {
        bmpAsked_ = false;
    }
    std::vector<Request> answered;
    std::erase_if(waiting_, [&](const Request& request) {
        if (request.target != target) {
            return false;
        }
        answered.push_back(request);
        return true;
    });
    for (const Request& request : answered) {
        if (bytes.ready()) {
            writeBytes(request, bytes);
        }
        if (request.multiple != 0) {
            pairAnswered(request, bytes.ready());
        } else {
            notify(request, bytes.ready() ? request.property : XCB_NONE);
        }
    }
    xcb_flush(connection_);
}

bool ImageSelectionServer::holdKeeperMark()
{
    holdsMark_ = setSelectionOwner(keeperMark_, window_, serverTime());
    xcb_flush(connection_);
    return holdsMark_;
}

ImageSelectionServer::Handover ImageSelectionServer::handOverToManager(std::chrono::milliseconds limit)
{
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, manager_), nullptr);
    const bool managerRuns = reply != nullptr && reply->owner != XCB_NONE;
    std::free(reply);
    if (!managerRuns || !owned_) {
        return Handover::NoManager;
    }
    // The property lists the formats the manager is to keep.
    const std::array<xcb_atom_t, 2> offered{png_, bmp_};
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window_, saveProperty_, XCB_ATOM_ATOM, 32, offered.size(),
                        offered.data());
    xcb_convert_selection(connection_, window_, manager_, saveTargets_, saveProperty_, serverTime());
    xcb_flush(connection_);
    managerAnswer_ = 0;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (managerAnswer_ == 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !waitAndDispatch(static_cast<int>(left.count()))) {
            return Handover::NoAnswer;
        }
    }
    return managerAnswer_ > 0 ? Handover::Saved : Handover::NoAnswer;
}

int ImageSelectionServer::fileDescriptor() const
{
    return xcb_get_file_descriptor(connection_);
}

bool ImageSelectionServer::dispatchPending()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        handle(event);
        std::free(event);
    }
    dropStalledTransfers();
    xcb_flush(connection_);
    return xcb_connection_has_error(connection_) == 0;
}

bool ImageSelectionServer::waitAndDispatch(int timeoutMs, int alsoWakeOn)
{
    xcb_flush(connection_);
    std::array<pollfd, 2> descriptors{pollfd{fileDescriptor(), POLLIN, 0}, pollfd{alsoWakeOn, POLLIN, 0}};
    // Events read while waiting for a reply are queued already; the poll would not see them.
    if (xcb_generic_event_t* queued = xcb_poll_for_queued_event(connection_)) {
        handle(queued);
        std::free(queued);
    } else {
        if (!transfers_.empty()) {
            timeoutMs = timeoutMs < 0 ? 1000 : std::min(timeoutMs, 1000);
        }
        ::poll(descriptors.data(), alsoWakeOn >= 0 ? 2 : 1, timeoutMs);
    }
    return dispatchPending();
}

void ImageSelectionServer::handle(const xcb_generic_event_t* event)
{
    switch (event->response_type & 0x7f) {
    case XCB_SELECTION_REQUEST:
        handleRequest(*reinterpret_cast<const xcb_selection_request_event_t*>(event));
        break;
    case XCB_SELECTION_CLEAR: {
        const auto& clear = *reinterpret_cast<const xcb_selection_clear_event_t*>(event);
        if (clear.selection == clipboard_ && owned_) {
            owned_ = false;
            stored_[0] = {};
            stored_[1] = {};
            // Requests still waiting for bytes are refused: those bytes will not come.
            answerWaiting(Format::Png, {});
            answerWaiting(Format::Bmp, {});
            if (onLost) {
                onLost();
            }
        } else if (clear.selection == keeperMark_ && holdsMark_) {
            holdsMark_ = false;
            if (onLost) {
                onLost();
            }
        }
        break;
    }
    case XCB_SELECTION_NOTIFY: {
        const auto& answer = *reinterpret_cast<const xcb_selection_notify_event_t*>(event);
        if (answer.selection == manager_ && answer.target == saveTargets_) {
            managerAnswer_ = answer.property != XCB_NONE ? 1 : -1;
        }
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto& change = *reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (change.state == XCB_PROPERTY_DELETE) {
            handlePropertyDeleted(change.window, change.atom);
        }
        break;
    }
    default:
        break;
    }
}

void ImageSelectionServer::handleRequest(const xcb_selection_request_event_t& event)
{
    // Clients from before ICCCM name no property: the target's name stands in for it.
    const Request request{event.requestor, event.property != XCB_NONE ? event.property : event.target, event.target,
                          event.selection, event.time};
    if (event.selection != clipboard_ || !owned_) {
        notify(request, XCB_NONE);
    } else if (event.target == multiple_) {
        // The list of pairs is in the named property; without one there is nothing to read.
        if (event.property == XCB_NONE) {
            notify(request, XCB_NONE);
        } else {
            handleMultiple(request);
        }
    } else {
        switch (write(request)) {
        case Answer::Written:
            notify(request, request.property);
            break;
        case Answer::Refused:
            notify(request, XCB_NONE);
            break;
        case Answer::Waiting:
            waiting_.push_back(request);
            askForWantedBmp();
            break;
        }
    }
}

// Each pair is answered as a request of its own would be; the one notification follows the last.
void ImageSelectionServer::handleMultiple(const Request& request)
{
    xcb_get_property_reply_t* reply =
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, request.requestor, request.property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, kMostPairs * 2),
                               nullptr);
    const uint32_t count = reply != nullptr && reply->format == 32 ? xcb_get_property_value_length(reply) / 4 : 0;
    MultipleRequest multiple{++lastMultiple_, request, {}, 0};
    if (count > 0 && count % 2 == 0 && reply->bytes_after == 0) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        multiple.pairs.assign(atoms, atoms + count);
    }
    std::free(reply);
    if (multiple.pairs.empty()) {
        notify(request, XCB_NONE);
        return;
    }
    for (size_t pair = 0; pair < multiple.pairs.size() / 2; ++pair) {
        const Request one{request.requestor,
                          multiple.pairs[2 * pair + 1],
                          multiple.pairs[2 * pair],
                          request.selection,
                          request.time,
                          multiple.number,
                          pair};
        const Answer answer = one.property == XCB_NONE || one.target == multiple_ ? Answer::Refused : write(one);
        if (answer == Answer::Refused) {
            multiple.pairs[2 * pair + 1] = XCB_NONE;
        } else if (answer == Answer::Waiting) {
            waiting_.push_back(one);
            ++multiple.open;
        }
    }
    if (multiple.open == 0) {
        finishMultiple(multiple);
        return;
    }
    multiples_.push_back(std::move(multiple));
    askForWantedBmp();
}

void ImageSelectionServer::pairAnswered(const Request& pair, bool written)
{
    const auto multiple = std::find_if(multiples_.begin(), multiples_.end(),
                                       [&](const MultipleRequest& m) { return m.number == pair.multiple; });
    if (multiple == multiples_.end()) {
        return;
    }
    if (!written) {
        multiple->pairs[2 * pair.pair + 1] = XCB_NONE;
    }
    if (--multiple->open == 0) {
        finishMultiple(*multiple);
        multiples_.erase(multiple);
    }
}

// The list goes back with the refused pairs' properties set to None, then the one notification.
void ImageSelectionServer::finishMultiple(const MultipleRequest& multiple)
{
    const Request& request = multiple.request;
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property, atomPair_, 32,
                        static_cast<uint32_t>(multiple.pairs.size()), multiple.pairs.data());
    notify(request, request.property);
}

// Writes the answer to one target into the request's property, or tells why it cannot yet.
ImageSelectionServer::Answer ImageSelectionServer::write(const Request& request)
{
    if (request.target == targets_) {
        const std::array<xcb_atom_t, 5> offered{targets_, timestamp_, multiple_, png_, bmp_};
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property, atomType_, 32,
                            offered.size(), offered.data());
        return Answer::Written;
    }
    if (request.target == timestamp_) {
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property, integer_, 32, 1,
                            &ownedSince_);
        return Answer::Written;
    }
    if (request.target != png_ && request.target != bmp_) {
        return Answer::Refused;
    }
    const SelectionBytes& bytes = stored_[index(request.target == png_ ? Format::Png : Format::Bmp)];
    if (!bytes.ready()) {
        return Answer::Waiting;
    }
    writeBytes(request, bytes);
    return Answer::Written;
}

void ImageSelectionServer::askForWantedBmp()
{
    const bool wanted =
        std::any_of(waiting_.begin(), waiting_.end(), [this](const Request& r) { return r.target == bmp_; });
    if (wanted && !bmpAsked_ && onBmpWanted) {
        bmpAsked_ = true;
        onBmpWanted();
    }
}

void ImageSelectionServer::writeBytes(const Request& request, const SelectionBytes& data)
{
    if (data.bytes.size() <= chunkBytes_) {
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property, request.target, 8,
                            static_cast<uint32_t>(data.bytes.size()), data.bytes.data());
        return;
    }
    // Incremental: announce the size; once the requestor has the notification, it deletes the
    // property for each next piece.
    std::erase_if(transfers_, [&](const Transfer& t) {
        return t.requestor == request.requestor && t.property == request.property;
    });
    const uint32_t watch = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, request.requestor, XCB_CW_EVENT_MASK, &watch);
    const auto size = static_cast<uint32_t>(std::min<size_t>(data.bytes.size(), UINT32_MAX));
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor, request.property, incr_, 32, 1, &size);
    transfers_.push_back(
        {request.requestor, request.property, request.target, data, 0, std::chrono::steady_clock::now()});
}

void ImageSelectionServer::handlePropertyDeleted(xcb_window_t window, xcb_atom_t property)
{
    const auto transfer = std::find_if(transfers_.begin(), transfers_.end(), [&](const Transfer& t) {
        return t.requestor == window && t.property == property;
    });
    if (transfer == transfers_.end()) {
        return;
    }
    const size_t piece = std::min(chunkBytes_, transfer->data.bytes.size() - transfer->sent);
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, property, transfer->target, 8,
                        static_cast<uint32_t>(piece), transfer->data.bytes.data() + transfer->sent);
    transfer->sent += piece;
    transfer->lastStep = std::chrono::steady_clock::now();
    if (piece == 0) {
        // The empty piece ends the transfer.
        const uint32_t none = XCB_EVENT_MASK_NO_EVENT;
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &none);
        transfers_.erase(transfer);
    }
}

void ImageSelectionServer::dropStalledTransfers()
{
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(transfers_, [&](const Transfer& t) { return now - t.lastStep > kStalledTransfer; });
}

void ImageSelectionServer::notify(const Request& request, xcb_atom_t property)
{
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(connection_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
}
