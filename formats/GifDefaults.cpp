#include "formats/GifDefaults.h"

GifEncoderSettings& GIFEncoderDefaults()
{
    static GifEncoderSettings defaults;
    return defaults;
}
