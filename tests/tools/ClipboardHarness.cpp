// The clipboard service on its own, for the end-to-end tests: commands on standard input, one a
// line, each answered by one line.
//   put R G B DELAY   places a 64 x 48 picture of colour R,G,B; its PNG takes DELAY ms longer to make
//   count             prints "png N bmp M": the encodings finished so far
//   quit
#include "formats/BmpWriter.h"
#include "formats/PngWriter.h"
#include "platform/x11/X11ClipboardService.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

namespace {

std::atomic<int> pngMade{0};
std::atomic<int> bmpMade{0};
// The PNG encodings start in the order of the pictures; each takes the next delay.
std::mutex delaysMutex;
std::deque<int> pngDelays;

void slowPng(const Bitmap& picture, ByteSink& out)
{
    int delay = 0;
    {
        const std::lock_guard lock(delaysMutex);
        if (!pngDelays.empty()) {
            delay = pngDelays.front();
            pngDelays.pop_front();
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    writePng(picture, out);
    ++pngMade;
}

void countedBmp(const Bitmap& picture, ByteSink& out)
{
    writeBmpFile(picture, out);
    ++bmpMade;
}

} // namespace

int main()
{
    X11ClipboardService clipboard({countedBmp, slowPng});
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "put") {
            int red = 0, green = 0, blue = 0, delay = 0;
            words >> red >> green >> blue >> delay;
            {
                const std::lock_guard lock(delaysMutex);
                pngDelays.push_back(delay);
            }
            Bitmap picture(64, 48);
            picture.fillRect({0, 0, 64, 48}, makeColor(static_cast<uint8_t>(red), static_cast<uint8_t>(green),
                                                       static_cast<uint8_t>(blue)));
            clipboard.setBitmap(picture);
            std::cout << "ok" << std::endl;
        } else if (command == "count") {
            std::cout << "png " << pngMade << " bmp " << bmpMade << std::endl;
        } else if (command == "quit") {
            break;
        }
    }
    return 0;
}
