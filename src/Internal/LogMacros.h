#pragma once

#include "Log.h"

// Log calls of the library pass the caller's source file (each translation
// unit defines kLogSource, e.g. "Entities/Mesh") and line.
#define TARNEL_LOG_DEBUG(message, location) ::Tarnel::Log::Debug((message), (location), kLogSource, __LINE__)
#define TARNEL_LOG_INFO(message, location) ::Tarnel::Log::Info((message), (location), kLogSource, __LINE__)
#define TARNEL_LOG_WARN(message, location) ::Tarnel::Log::Warn((message), (location), kLogSource, __LINE__)
#define TARNEL_LOG_ERROR(message, location) ::Tarnel::Log::Error((message), (location), kLogSource, __LINE__)
#define TARNEL_LOG_EXCEPTION(message, exception, location) \
    ::Tarnel::Log::Error((message), (exception), (location), kLogSource, __LINE__)
