#include "CatalogueReader.h"

void CatalogueReader::read(const QByteArray& bytes)
{
    const ReleaseCatalogue catalogue = ReleaseCatalogue::parse(bytes);
    emit done(catalogue, catalogue.isUsable() ? ReleaseChoices::from(catalogue.entries())
                                              : ReleaseChoices());
}
