# Removes from the site folder whatever the build no longer makes (a font or a picture left by an
# earlier build), so that the folder holds the page and nothing else.
#   cmake -DSITE_DIR=DIR -DKEEP=name,name,... -P prune_site.cmake
cmake_minimum_required(VERSION 3.16)
string(REPLACE "," ";" keep "${KEEP}")
file(GLOB present RELATIVE "${SITE_DIR}" "${SITE_DIR}/*")
foreach(name IN LISTS present)
    if(NOT name IN_LIST keep)
        file(REMOVE_RECURSE "${SITE_DIR}/${name}")
    endif()
endforeach()
