#include "app/f1.h"

#include "app/program.h"

namespace waymint::app {

f1::f1(Program& program) : Window("f1", ""), m_program(program) {
  own(Picture5.add(1, "Picture5")).setToolTip(" POI Loader");
  own(Picture5.add(0, "Picture5")).setToolTip(" Pixmold");
  Picture5(1).showResource(":/icons/poiloader.png");
  Picture5(0).showResource(":/icons/pixmold.png");
  // The notice shows what a category press found (no GPX yet): nothing before the first one.
  own(Frame1).setVisible(false);
  own(Label6);
  own(command5);
  own(Text1);
  own(List3);
  own(Check2);
  own(Check1);
  auto& mp3 = own(Opt.add(1, "Opt", "MP3"));
  mp3.setEnabled(false);
  mp3.setValue(true);
  own(Opt.add(0, "Opt", "WAV")).setEnabled(false);
  own(Picture1).showResource(":/icons/poi.png");
  own(Command4);
  own(List2);
  own(Command3);
  own(Command2.add(0, "Command2", "Load OSM"));
  own(List1.add(0, "List1"));
  own(Text4).setEnabled(false);
  own(Text3.add(1, "Text3", "25"));
  own(Text3.add(0, "Text3", "20"));
  own(Command1).setEnabled(false);
  own(List1.add(2, "List1"));
  own(Label4.add(1, "Label4", "Selected GPX:"));
  own(Label7);
  own(Label4.add(3, "Label4", "Directory:"));
  own(Label4.add(2, "Label4", ""));
  own(Label3.add(3, "Label3", "4"));
  own(Label3.add(2, "Label3", "3"));
  own(Label3.add(1, "Label3", "2"));
  own(Label3.add(0, "Label3", "1"));
  own(Label1.add(2, "Label1", "Click on List"));
  own(Label1.add(1, "Label1", "GPX Path"));
  own(Label5);
  own(Label4.add(0, "Label4", "BMP"));
  own(Image1);
  own(Label2.add(1, "Label2", "Proximity"));
  own(Label2.add(0, "Label2", "Speed"));
  own(Label1.add(0, "Label1", "POIS found:"));
  own(Shape1);
  own(Shape2.add(1, "Shape2"));
  own(Shape3.add(0, "Shape3"));
  own(Shape3.add(1, "Shape3"));
  own(Shape4);
  own(Shape5);
  own(Shape6);
  own(v.add(0, "v"));
  own(Check3);
  own(Check4);
  own(Check5);
  own(Label8.add(0, "Label8", "Car parks, schools... drawn as areas count too"));
  own(Label8.add(1, "Label8", "Only POIs whose amenity, shop... is the category"));
  own(Label8.add(2, "Label8", "Address, phone, opening hours; names in UTF-8"));
  own(Command6).setToolTip(" The GPI files of every category onto the navigator connected");
  own(Text5);

  const char* fileEntries[] = {"Open", "-", "Create GPX", "-", "About", "-", "Exit"};
  for (int index = 2; index <= 8; ++index) own(mf.add(index, "mf", fileEntries[index - 2]));
  for (int index = 9; index <= 16; ++index) own(mf.add(index, "mf", ""));
  mf(3).setVisible(false);
  mf(4).setVisible(false);
  own(medd.add(0, "medd", "Individual POIs")).setEnabled(false);
  own(medd.add(1, "medd", "-"));
  own(medd.add(2, "medd", "All POIs")).setEnabled(false);
  own(mtl.add(0, "mtl", "Load Pixmold")).setVisible(false);
  own(mtl.add(1, "mtl", "-")).setVisible(false);
  own(mtl.add(2, "mtl", "Settings"));
  own(mhlp.add(0, "mhlp", "Load Manual"));
  own(mhlp.add(1, "mhlp", "-"));
  own(mhlp.add(2, "mhlp", "Check for Updates"));

  Text1.onChange([this] { Text1_Change(); });
}

void f1::Text1_Change() { m_program.state.gpxfolder = Text1.text(); }

}  // namespace waymint::app
