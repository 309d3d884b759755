# Writes the site's service worker, SITE_DIR/sw.js, from its template: the site's files with
# their SHA-256 sums, and the build's name made from those sums, so that the same files give the
# same worker byte for byte and a changed file a new one.
#   cmake -DSITE_DIR=DIR -DFILES=name,name,... -DTEMPLATE=sw.js -P make_worker.cmake
cmake_minimum_required(VERSION 3.16)
string(REPLACE "," ";" files "${FILES}")
list(SORT files)
set(TARNWICK_SITE_FILES "")
set(sums "")
foreach(name IN LISTS files)
    file(SHA256 "${SITE_DIR}/${name}" sum)
    string(APPEND TARNWICK_SITE_FILES "\n    '${name}': '${sum}',")
    string(APPEND sums "${name} ${sum}\n")
endforeach()
string(SHA256 build "${sums}")
string(SUBSTRING "${build}" 0 16 TARNWICK_BUILD)
file(READ "${TEMPLATE}" worker)
string(CONFIGURE "${worker}" worker @ONLY)
file(WRITE "${SITE_DIR}/sw.js" "${worker}")
