#include "calling/AudioSink.h"

AudioSink::~AudioSink() = default;
