# The program's images by resource id, each an SVG file:
#   veltra_add_images(<target> <id> <file.svg> [<id> <file.svg> ...])
# Each becomes the Windows resources ICON <id> (16 to 256 px) and BITMAP <id>
# (its own size, 32 bits with straight alpha), with BITMAP IMAGE<id>_144 and
# IMAGE<id>_192 drawn for 150 % and 200 % display scale, at build time by
# scripts/make-windows-image. Whatever links <target> links them too: the
# compiled .rc is an object of its own, as a static library keeps no
# resources that nothing refers to.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
# Debian's, as in the Linux build; the script needs only its standard library.
find_program(PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)

function(veltra_add_images target)
  set(script ${PROJECT_SOURCE_DIR}/scripts/make-windows-image)
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${target}_images)
  set(rc ${folder}/images.rc)
  set(arguments)
  set(svgs)
  set(images)
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs id file)
    if(NOT id MATCHES "^[0-9]+$" OR NOT file)
      message(FATAL_ERROR "veltra_add_images(${target} ...): ${id} ${file} is not <id> <file.svg>")
    endif()
    get_filename_component(file ${file} ABSOLUTE)
    list(APPEND arguments ${id} ${file})
    list(APPEND svgs ${file})
    list(APPEND images ${folder}/${id}.ico ${folder}/${id}.bmp ${folder}/${id}-144dpi.bmp ${folder}/${id}-192dpi.bmp)
  endwhile()
  # One command writes the images and the .rc together, so the .rc is newer
  # whenever an image is and its object is compiled again.
  add_custom_command(OUTPUT ${rc} ${images}
    COMMAND ${PYTHON3} ${script} ${RSVG_CONVERT} ${rc} ${arguments}
    DEPENDS ${script} ${svgs}
    COMMENT "Drawing the images of ${target}"
    VERBATIM)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${images}")
  add_library(${target}_images OBJECT ${rc})
  target_link_libraries(${target} INTERFACE $<TARGET_OBJECTS:${target}_images>)
endfunction()
