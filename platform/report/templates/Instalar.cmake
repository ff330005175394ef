# Copies the generic slip template into the installation folder PASTA under its own name and under
# the name each bank of BANCOS (NUMBANCO values, comma separated) looks for.
file(MAKE_DIRECTORY ${PASTA})
configure_file(${ORIGEM} ${PASTA}/BoletoPadrao.rtm COPYONLY)
string(REPLACE "," ";" bancos "${BANCOS}")
foreach(numbanco ${bancos})
  configure_file(${ORIGEM} ${PASTA}/Boleta${numbanco}.rtm COPYONLY)
endforeach()
