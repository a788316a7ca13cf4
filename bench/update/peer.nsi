; The benchmark's peer: an NSIS installer doing a quiet update's core work, built from
; this script: it writes the same package into Orvel's folder and one registry value.
; Compression is off, as the installer stores its package; the run is silent.
;   makensis -DPACKAGE=<vexa.3bs> -DOUTFILE=<exe> peer.nsi
; It writes into Program Files\Orvel, where the benchmark's demo installation is.
Name "Orvel update"
OutFile "${OUTFILE}"
SetCompress off
SilentInstall silent
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\Orvel"

Section
  SetOutPath "$INSTDIR"
  File "/oname=vexa.3bs" "${PACKAGE}"
  SetRegView 64
  WriteRegDWORD HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvel" "EstimatedSize" 1200
SectionEnd
