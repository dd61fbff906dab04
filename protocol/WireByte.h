#pragma once

#include <concepts>
#include <cstdint>
#include <type_traits>

// The byte a protocol enum puts on the wire.
template <typename E>
requires std::is_enum_v<E> && std::same_as<std::underlying_type_t<E>, uint8_t>
constexpr uint8_t Byte(E value) {
    return static_cast<uint8_t>(value);
}
