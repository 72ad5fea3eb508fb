# The picture loader: JPEG through libjpeg, every other format through Qt's reader.
# Included from the root CMakeLists.txt; paths are taken relative to this file.
find_package(Qt6 REQUIRED COMPONENTS Gui)
find_package(JPEG REQUIRED)

add_library(tarvek_jpeg STATIC ${CMAKE_CURRENT_LIST_DIR}/jpeg_reader.cpp)
target_link_libraries(tarvek_jpeg PUBLIC tarvek_platform_core Qt6::Gui PRIVATE JPEG::JPEG)
