# Renders one template at display scale 1 and at scale 2 and checks that both pictures have the
# same size in pixels, and that an icon comes out at the size asked for.
# cmake -DRENDER=<tav-render> -DWORK=<folder> -P render_size.cmake
function(png_size file out)
  file(READ ${file} header OFFSET 16 LIMIT 8 HEX)
  set(${out} ${header} PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})
foreach(scale 1 2)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=${scale}
            ${RENDER} 102 ${WORK}/scale${scale}.png
    RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "tav-render at scale ${scale} failed: ${rc}")
  endif()
  png_size(${WORK}/scale${scale}.png size${scale})
endforeach()
if(NOT size1 STREQUAL size2)
  message(FATAL_ERROR "scale 2 drew ${size2}, scale 1 drew ${size1} (IHDR width, height)")
endif()

execute_process(COMMAND ${RENDER} --icon 48 ${WORK}/icon48.png RESULT_VARIABLE rc)
png_size(${WORK}/icon48.png icon)
if(NOT rc EQUAL 0 OR NOT icon STREQUAL "0000003000000030")
  message(FATAL_ERROR "the 48 pixel icon came out as ${icon} (rc ${rc})")
endif()
