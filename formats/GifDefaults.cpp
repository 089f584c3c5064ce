#include "formats/GifDefaults.h"

TGIFEncoderSettings& GIFEncoderDefaults()
{
    static TGIFEncoderSettings defaults;
    return defaults;
}
